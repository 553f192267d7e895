// Feeds arbitrary bytes to the project file reader, with and without the shared-file rule.

#include "fuzz_support.h"
#include "os/native_path.h"
#include "source/project_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  SourcePath path = SourcePath::Locate(ToWindowsPath(fuzz::WriteInput("app.vbp", data, size)));
  for (CheckState dir : {CheckState::kOff, CheckState::kOn}) {
    Options options;
    options.Dir = dir;
    SpecificationModel model;
    (void)ReadProject(path, options, &model);
  }
  return 0;
}
