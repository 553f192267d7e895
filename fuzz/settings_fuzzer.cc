// Feeds arbitrary bytes to the settings file reader and writer.

#include "fuzz_support.h"
#include "os/ini_profile.h"
#include "os/native_path.h"
#include "run/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  IniProfile profile(bytes);
  for (const char* key : {"XLS", "TXT", "CMT", "FUNC", "DIR", "TRIM"}) {
    ParseFlag(profile.Read("CHKBOX", key).value_or(""));
  }
  // Rewriting keeps every byte that is not the key's own.
  std::string path = fuzz::WriteInput("Dovrek.ini", data, size);
  Options loaded;
  (void)LoadOptions(path, &loaded);
  if (!SaveOptions(path, Options{}).ok()) return 0;
  // The six flags come back as written; [EXTENSION] is never written, so it reads as before.
  Options expected;
  expected.Complete = loaded.Complete;
  expected.Source = loaded.Source;
  Options reloaded;
  (void)LoadOptions(path, &reloaded);
  if (reloaded != expected) __builtin_trap();
  return 0;
}
