#include "source/project_references.h"

#include "text/line_reader.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

// "{GUID}#2.0#0; MSCOMCTL.OCX": the file name after the ";".
std::string ObjectFile(std::string_view value) {
  size_t semicolon = value.find(';');
  return std::string(TrimSpaces(semicolon == value.npos ? value : value.substr(semicolon + 1)));
}

// "*\G{GUID}#2.0#0#C:\WINDOWS\system32\stdole2.tlb#OLE Automation": the fourth field is the
// library's path, the fifth its description.
std::string ReferenceFile(std::string_view value) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    size_t hash = value.find('#', start);
    fields.push_back(value.substr(start, hash == value.npos ? hash : hash - start));
    if (hash == value.npos) break;
    start = hash + 1;
  }
  if (fields.size() < 4) return std::string(TrimSpaces(value));
  std::string file = FileNamePart(fields[3]);
  if (fields.size() > 4 && !TrimSpaces(fields[4]).empty()) {
    file += " - " + std::string(TrimSpaces(fields[4]));
  }
  return file;
}

void TakeLine(std::string_view line, ProjectReferences* references) {
  if (StartsWithNoCase(line, "Type=")) {
    references->Type = TrimSpaces(line.substr(5));
  } else if (StartsWithNoCase(line, "Object=")) {
    references->Components.push_back(ObjectFile(line.substr(7)));
  } else if (StartsWithNoCase(line, "Reference=")) {
    references->Components.push_back(ReferenceFile(line.substr(10)));
  }
}

}  // namespace

Status ReadProjectReferences(const SourcePath& project, Encoding encoding,
                             ProjectReferences* references) {
  LineReader reader(encoding);
  if (Status opened = reader.Open(project); !opened.ok()) return opened;
  std::string line;
  while (reader.ReadLine(&line)) TakeLine(line, references);
  return reader.status();
}

}  // namespace dovrek
