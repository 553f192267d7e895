// Feeds arbitrary bytes to the module scanner as a source file, under all eight combinations of
// the comment options, in the default and in complete mode (each source encoding once), and
// checks what it records.

#include "fuzz_support.h"
#include "os/native_path.h"
#include "codepage/text_codec.h"
#include "source/module_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  SourcePath path = SourcePath::Locate(ToWindowsPath(fuzz::WriteInput("m.bas", data, size)));
  const Encoding encodings[] = {Encoding::kCp932, Encoding::kUtf8, Encoding::kCp1252};
  for (int combination = 0; combination < 16; ++combination) {
    Options options;
    options.Cmt = CheckStateOf(combination & 1);
    options.Func = CheckStateOf((combination >> 1) & 1);
    options.Trim = CheckStateOf((combination >> 2) & 1);
    options.Complete = (combination >> 3) & 1;
    SpecificationModel model;
    model.SourceEncoding = encodings[combination % 3];
    (void)ReadModule(path, options, &model);
    for (const ProcedureEntry& entry : model.Procedures) {
      bool scope_ok = entry.Scope == "Public" || entry.Scope == "Private" ||
                      (options.Complete && entry.Scope == "Friend");
      if (!scope_ok || options.Complete == entry.Kind.empty()) __builtin_trap();
      if (!IsValidUtf8(entry.Name) || !IsValidUtf8(entry.Comment)) __builtin_trap();
      if (entry.FileName != "m.bas") __builtin_trap();
      if (!entry.Comment.empty() && entry.Comment.back() != '\n') __builtin_trap();
    }
  }
  return 0;
}
