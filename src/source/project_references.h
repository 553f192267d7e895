#pragma once
// What a project file says beyond its members: the kind of project it builds ("Type=") and
// the components it uses ("Object=" lines for controls, "Reference=" lines for type
// libraries).

#include <string>
#include <vector>

#include "codepage/encoding.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

struct ProjectReferences {
  std::string Type;  // "Exe", "OleDll", "Control", ...; empty when the file says none
  // One entry a line, in file order: the file name an "Object=" line gives ("MSCOMCTL.OCX"),
  // the file name of a "Reference=" path with its description after " - " when it gives one
  // ("stdole2.tlb - OLE Automation").
  std::vector<std::string> Components;

  bool operator==(const ProjectReferences&) const = default;
};

// Reads those lines of the project file, in `encoding`.
Status ReadProjectReferences(const SourcePath& project, Encoding encoding,
                             ProjectReferences* references);

}  // namespace dovrek
