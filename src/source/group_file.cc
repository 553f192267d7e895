#include "source/group_file.h"

#include <algorithm>
#include <string_view>

#include "text/line_reader.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

constexpr std::string_view kProjectKeys[] = {"StartupProject=", "Project="};

// The project path a line names, empty for any other line.
std::string ProjectOnLine(std::string_view line) {
  for (std::string_view key : kProjectKeys) {
    if (StartsWithNoCase(line, key)) {
      return RemoveDoubleQuotes(TrimSpaces(line.substr(key.size())));
    }
  }
  return {};
}

}  // namespace

Status ReadGroupFile(const SourcePath& group, std::vector<std::string>* projects) {
  LineReader reader;
  if (Status opened = reader.Open(group); !opened.ok()) return opened;
  const std::string folder = FolderPart(group.windows());
  std::string line;
  while (reader.ReadLine(&line)) {
    std::string project = ProjectOnLine(line);
    if (project.empty()) continue;
    if (!IsAbsoluteWindowsPath(project)) project = folder + "\\" + project;
    if (std::find(projects->begin(), projects->end(), project) == projects->end()) {
      projects->push_back(std::move(project));
    }
  }
  return reader.status();
}

}  // namespace dovrek
