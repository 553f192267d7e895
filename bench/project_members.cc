#include "project_members.h"

#include <string_view>

#include "text/line_reader.h"
#include "base/text_helpers.h"

namespace dovrek::bench {

bool ProjectMembers(const std::string& vbp_path, std::vector<std::string>* members,
                    std::string* error) {
  LineReader reader;
  if (Status opened = reader.Open(SourcePath::Locate(vbp_path)); !opened.ok()) {
    *error = opened.message();
    return false;
  }
  std::vector<std::string> groups[3];
  const std::string_view keys[3] = {"Form=", "Module=", "Class="};
  const std::string folder = FolderPart(vbp_path);
  std::string line;
  while (reader.ReadLine(&line)) {
    for (int k = 0; k < 3; ++k) {
      if (!StartsWithNoCase(line, keys[k])) continue;
      std::string_view value = std::string_view(line).substr(keys[k].size());
      size_t semicolon = value.find(';');
      if (k > 0 && semicolon != std::string_view::npos) value = value.substr(semicolon + 1);
      groups[k].push_back(folder + "\\" + std::string(TrimSpaces(value)));
    }
  }
  if (!reader.status().ok()) {
    *error = reader.status().message();
    return false;
  }
  for (auto& group : groups) members->insert(members->end(), group.begin(), group.end());
  return true;
}

}  // namespace dovrek::bench
