#include "app/portfolio_inputs.h"

#include <algorithm>
#include <set>

#include "app/portfolio_messages.h"
#include "os/disk.h"
#include "base/text_helpers.h"
#include "source/group_file.h"

namespace dovrek {
namespace {

// Folders nested deeper than this are not searched: a link that leads back up the tree would
// otherwise be followed without end.
constexpr int kDeepestFolder = 24;

bool HasExtension(std::string_view path, std::string_view extension) {
  return path.size() > extension.size() &&
         EqualsNoCase(path.substr(path.size() - extension.size()), extension);
}

// Appends the native path of every project file below the folder.
void ProjectFilesBelow(Disk& disk, const std::string& folder, int depth,
                       std::vector<std::string>* found) {
  std::vector<std::string> names;
  if (depth > kDeepestFolder || !disk.ListFolder(folder, &names)) return;
  for (const std::string& name : names) {
    if (name == "." || name == "..") continue;
    std::string path = folder + "/" + name;
    FileKind kind = disk.Kind(path);
    if (kind == FileKind::kFolder) ProjectFilesBelow(disk, path, depth + 1, found);
    if (kind == FileKind::kRegular && HasExtension(name, ".vbp")) found->push_back(path);
  }
}

PortfolioProject Project(SourcePath path, std::string problem = {}) {
  return {std::move(path), std::move(problem), {}};
}

// The projects one input names.
void AddInput(const std::string& typed, std::vector<PortfolioProject>* projects) {
  SourcePath input = SourcePath::FromTyped(typed);
  Disk& disk = input.disk();
  if (input.exists() && disk.Kind(input.found()) == FileKind::kFolder) {
    std::vector<std::string> files;
    ProjectFilesBelow(disk, input.found(), 0, &files);
    std::sort(files.begin(), files.end());
    if (files.empty()) projects->push_back(Project(input, kNoProjectsBelow));
    for (const std::string& file : files) projects->push_back(Project(SourcePath::FromTyped(file)));
  } else if (input.IsFile() && HasExtension(input.found(), ".vbg")) {
    std::vector<std::string> named;
    if (Status read = ReadGroupFile(input, &named); !read.ok()) {
      projects->push_back(Project(input, read.message()));
    }
    for (const std::string& project : named) projects->push_back(Project(SourcePath::Locate(project)));
  } else {
    projects->push_back(Project(input));
  }
}

// The folders of a Windows-form path, its file name last.
std::vector<std::string_view> Parts(std::string_view path) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    size_t end = path.find('\\', start);
    parts.push_back(path.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// How many leading folders every path shares.
size_t SharedFolders(const std::vector<std::vector<std::string_view>>& paths) {
  size_t shared = paths.empty() ? 0 : paths[0].size() - 1;
  for (const auto& parts : paths) {
    size_t same = 0;
    while (same < shared && same + 1 < parts.size() && parts[same] == paths[0][same]) ++same;
    shared = same;
  }
  return shared;
}

std::string WithoutExtension(std::string name) {
  size_t dot = name.rfind('.');
  size_t slash = name.rfind('/');
  if (dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1)) {
    name.erase(dot);
  }
  return name;
}

}  // namespace

std::vector<std::string> OutputStems(const std::vector<std::string>& windows_paths) {
  std::vector<std::vector<std::string_view>> split;
  for (const std::string& path : windows_paths) split.push_back(Parts(path));
  const size_t shared = SharedFolders(split);
  std::vector<std::string> stems;
  std::set<std::string> taken;
  for (const auto& parts : split) {
    std::string stem;
    for (size_t i = shared; i < parts.size(); ++i) {
      if (!stem.empty()) stem += '/';
      stem += parts[i];
    }
    stem = WithoutExtension(stem);
    std::string unique = stem;
    for (int n = 2; !taken.insert(unique).second; ++n) unique = stem + "_" + std::to_string(n);
    stems.push_back(unique);
  }
  return stems;
}

std::vector<PortfolioProject> PortfolioProjects(const std::vector<std::string>& inputs) {
  std::vector<PortfolioProject> expanded;
  for (const std::string& typed : inputs) AddInput(typed, &expanded);
  std::vector<PortfolioProject> projects;
  std::set<std::string> seen;
  for (PortfolioProject& project : expanded) {
    const std::string& key = project.path.exists() ? project.path.found() : project.path.windows();
    if (seen.insert(key).second) projects.push_back(std::move(project));
  }
  std::vector<std::string> paths;
  for (const PortfolioProject& project : projects) paths.push_back(project.path.windows());
  std::vector<std::string> stems = OutputStems(paths);
  for (size_t i = 0; i < projects.size(); ++i) projects[i].stem = stems[i];
  return projects;
}

}  // namespace dovrek
