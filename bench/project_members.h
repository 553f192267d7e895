#pragma once
// The source files a project file lists, for the bench tools: every "Form=", "Module=" and
// "Class=" line, as a Windows-form path joined onto the project's folder.

#include <string>
#include <vector>

namespace dovrek::bench {

// The Windows-form paths of the members of the project at `vbp_path` (Windows form), forms
// first, then modules, then classes. Answers false with *error set when the file cannot be read.
bool ProjectMembers(const std::string& vbp_path, std::vector<std::string>* members,
                    std::string* error);

}  // namespace dovrek::bench
