#pragma once
// Where the program's own files lie, and whether a window can be shown.

#include <string>

namespace dovrek {

// The settings file: the executable's folder, "\", "Dovrek.ini" (Windows form).
std::string SettingsPath();

// The workbook template: the executable's folder, "\", "Dovrek.xlt" (Windows form).
std::string TemplatePath();

// True when a display is named (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set).
bool HasDisplay();

}  // namespace dovrek
