// Feeds arbitrary bytes to the module scanner as a source file, under all eight combinations of
// the comment options, and checks what it records.

#include "fuzz_support.h"
#include "platform/native_path.h"
#include "source/module_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  std::string path = ToWindowsPath(fuzz::WriteInput("m.bas", data, size));
  fuzz::QuietMessageBox msg;
  for (int combination = 0; combination < 8; ++combination) {
    Options options;
    options.Cmt = combination & 1;
    options.Func = (combination >> 1) & 1;
    options.Trim = (combination >> 2) & 1;
    SpecificationModel model;
    ReadModule(path, options, &model, msg);
    for (const ProcedureEntry& entry : model.Procedures) {
      if (entry.Scope != "Public" && entry.Scope != "Private") __builtin_trap();
      if (entry.FileName != "m.bas") __builtin_trap();
      if (!entry.Comment.empty() && entry.Comment.back() != '\n') __builtin_trap();
    }
  }
  return 0;
}
