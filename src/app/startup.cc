#include "app/startup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "os/disk.h"
#include "os/display_probe.h"
#include "os/native_path.h"
#include "run/settings_store.h"
#include "app/app_messages.h"

namespace dovrek {
namespace {

bool IsSet(const char* value) { return value && *value; }

bool IsRegularFile(const std::string& native) {
  struct stat st;
  return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string SettingsPathFor(const std::string& program_folder, const char* xdg_config_home,
                            const char* home) {
  std::string beside = program_folder + "/Dovrek.ini";
  if (IsRegularFile(beside) || ::access(program_folder.c_str(), W_OK) == 0) return beside;
  // Without either variable there is no home to keep settings in (never "/.config"); the
  // file beside the program is then read if it is there, and saving it reports the failure.
  if (!IsSet(xdg_config_home) && !IsSet(home)) return beside;
  std::string config =
      IsSet(xdg_config_home) ? std::string(xdg_config_home) : std::string(home) + "/.config";
  return config + "/dovrek/Dovrek.ini";
}

std::string SettingsPath() {
  return SettingsPathFor(ProgramFolder(), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

Options StartingOptions(MessageBox* msg) {
  Options options;
  const std::string path = SettingsPath();
  Status loaded = LoadOptions(path, &options);
  // Only a file that is there is told of: a folder on the way that may not be searched (a home
  // of another user) hides no settings of this user.
  if (msg && !loaded.ok() && !loaded.IsNotFound() && RealDisk().Exists(path)) {
    msg->ShowMessage(std::string(kSettingsNotRead) + "\n" + loaded.message());
  }
  return options;
}

std::string TemplatePathFor(const std::string& program_folder) {
  std::string beside = program_folder + "/Dovrek.xlt";
  std::string shared = program_folder + "/../share/dovrek/Dovrek.xlt";
  if (!IsRegularFile(beside) && IsRegularFile(shared)) return shared;
  return beside;
}

std::string TemplatePath() { return TemplatePathFor(ProgramFolder()); }

bool HasDisplay() { return DisplayAnswers(CurrentDisplayEnvironment()); }

}  // namespace dovrek
