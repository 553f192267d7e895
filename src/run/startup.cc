#include "run/startup.h"

#include <cstdlib>

#include "platform/native_path.h"

namespace dovrek {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

std::string SettingsPath() { return ToWindowsPath(ProgramFolder()) + "\\Dovrek.ini"; }

std::string TemplatePath() { return ToWindowsPath(ProgramFolder()) + "\\Dovrek.xlt"; }

bool HasDisplay() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

}  // namespace dovrek
