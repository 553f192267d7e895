#pragma once
// The projects of a batch run over many projects: the project files, group files (.vbg) and
// folders the user named, turned into one list of projects, and the place of each project's
// outputs in the output folder.

#include <string>
#include <vector>

#include "os/source_path.h"

namespace dovrek {

struct PortfolioProject {
  SourcePath path;
  // Why this input gives no project to run (a group file that cannot be read, a folder
  // without a project file); empty for a project to run, even one that is not there, whose
  // run then says so.
  std::string problem;
  // Where its outputs go, relative to the output folder: the project file's path below the
  // deepest folder common to every project, "/" between folders, without its extension.
  std::string stem;
};

// Every project the inputs name, in their order: a project file as it stands, the projects a
// group file names, every project file below a folder (sorted by path). A project reached
// twice is run once. The stems are set, each one different from the others.
std::vector<PortfolioProject> PortfolioProjects(const std::vector<std::string>& inputs);

// The stems of the projects' Windows-form paths, as PortfolioProject::stem describes; a stem
// another project already has gets "_2", "_3", ... added.
std::vector<std::string> OutputStems(const std::vector<std::string>& windows_paths);

}  // namespace dovrek
