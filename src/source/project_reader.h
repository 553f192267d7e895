#pragma once
// Reads a Visual Basic 6 project file (.vbp): the project information and the lists of forms,
// standard modules and class modules; in complete mode also user controls, property pages,
// user documents and designers.

#include <string>

#include "model/specification_model.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

// Empties the project part of the model and fills it from the file, in file order. With
// options.Dir on, members that lie outside the project folder are skipped as shared files. A
// failure names the file ("<file>: <reason>"), or the file and line for a line that cannot be
// used ("<file>(<line>): ..."); the model keeps what was read before it. A file without a
// "Type=" line is no VB6 project: WrongKind, "<file>: " kNotAProject (kProjectGroupNotRun for
// a project group, whose first line begins with "VBGROUP").
Status ReadProject(const SourcePath& project_path, const Options& options,
                   SpecificationModel* model);

// True when a member path, as the project file writes it, names a file outside the project
// folder: ".." segments are collapsed against the folder, and the result must still lie
// inside it (ASCII-case-insensitive prefix on "\" boundaries). An absolute path is compared as
// it stands.
bool LiesOutsideProjectFolder(const std::string& project_folder, const std::string& member_path);

}  // namespace dovrek
