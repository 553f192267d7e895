#pragma once
// Reads a Visual Basic project group file (.vbg): the projects its "Project=" and
// "StartupProject=" lines name, relative to the group file's folder.

#include <string>
#include <vector>

#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

// Appends the Windows-form path of every project the group names, in file order, to
// *projects: a relative path joined onto the group file's folder, an absolute one as it
// stands. Names are decoded as a project file's are. A project named twice is listed once.
// Fails when the group file cannot be read.
Status ReadGroupFile(const SourcePath& group, std::vector<std::string>* projects);

}  // namespace dovrek
