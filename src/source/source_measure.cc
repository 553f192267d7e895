#include "source/source_measure.h"

#include <algorithm>

#include "text/line_reader.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

bool IsComment(std::string_view trimmed) {
  return trimmed.starts_with('\'') || EqualsNoCase(trimmed, "Rem") ||
         StartsWithNoCase(trimmed, "Rem ") || StartsWithNoCase(trimmed, "Rem\t");
}

// The library of a Declare statement ("Private Declare Function X Lib "user32" ..."); empty
// for any other line.
std::string DeclaredLibrary(std::string_view trimmed) {
  for (std::string_view scope : {"Public ", "Private ", "Global "}) {
    if (StartsWithNoCase(trimmed, scope)) trimmed = TrimSpaces(trimmed.substr(scope.size()));
  }
  if (!StartsWithNoCase(trimmed, "Declare ")) return {};
  std::string small = AsciiSmall(trimmed);
  size_t lib = small.find(" lib \"");
  if (lib == std::string::npos) return {};
  size_t start = lib + 6;
  size_t end = trimmed.find('"', start);
  return std::string(trimmed.substr(start, end == trimmed.npos ? end : end - start));
}

void AddLibrary(std::string library, std::vector<std::string>* dlls) {
  if (library.empty()) return;
  auto same = [&](const std::string& known) { return EqualsNoCase(known, library); };
  if (std::none_of(dlls->begin(), dlls->end(), same)) dlls->push_back(std::move(library));
}

}  // namespace

Status MeasureSource(const SourcePath& member, Encoding encoding,
                     SourceMeasure* measure) {
  LineReader reader(encoding);
  if (Status opened = reader.Open(member); !opened.ok()) return opened;
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(&line)) lines.push_back(line);
  if (!reader.status().ok()) return reader.status();
  // The code starts after the Attribute lines that follow the description, when there are any.
  size_t code = 0;
  auto named = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return StartsWithNoCase(l, "Attribute VB_Name");
  });
  if (named != lines.end()) code = static_cast<size_t>(named - lines.begin());
  while (code < lines.size() && StartsWithNoCase(lines[code], "Attribute ")) ++code;
  for (size_t i = code; i < lines.size(); ++i) {
    std::string_view trimmed = TrimSpaces(lines[i]);
    ++measure->Lines;
    if (IsComment(trimmed)) ++measure->CommentLines;
    AddLibrary(DeclaredLibrary(trimmed), &measure->Dlls);
  }
  return Status::OK();
}

}  // namespace dovrek
