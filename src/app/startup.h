#pragma once
// Where the program's own files lie, and whether a window can be shown.

#include <string>

#include "model/specification_model.h"
#include "frontend/message_box.h"

namespace dovrek {

// The native path of the settings file Dovrek.ini: beside the executable when that file exists or
// that folder is writable (a portable copy, the build tree); otherwise
// $XDG_CONFIG_HOME/dovrek/Dovrek.ini (default ~/.config/dovrek/), since an installed program's
// folder is not writable and the options would be lost; beside the executable again when
// neither variable is set. Only looks: no folder is created (saving creates them).
std::string SettingsPath();

// The options in the settings file at SettingsPath(); the defaults where it is missing or cannot
// be read. The program starts either way; a file that is there but cannot be read is told to
// `msg`, when given, as a caution.
Options StartingOptions(MessageBox* msg = nullptr);

// The same choice for an explicit program folder and environment, for tests.
std::string SettingsPathFor(const std::string& program_folder, const char* xdg_config_home,
                            const char* home);

// The native path of the workbook template Dovrek.xlt: beside the executable when it is there,
// else in ../share/dovrek/ relative to the executable's folder; the path beside the executable
// when neither exists, so the missing-template message names the expected place.
std::string TemplatePath();
std::string TemplatePathFor(const std::string& program_folder);

// True when a window can be opened: the display named by the environment answers
// (DisplayAnswers); a display that is named but does not answer counts as none.
bool HasDisplay();

}  // namespace dovrek
