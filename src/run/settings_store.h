#pragma once
// The settings file Dovrek.ini: the six check-box values in section "CHKBOX", and complete
// mode's keys COMPLETE and SOURCE in section "EXTENSION". Paths are native.

#include <string>

#include "model/specification_model.h"
#include "base/status.h"

namespace dovrek {

inline constexpr char kSettingsSection[] = "CHKBOX";
inline constexpr char kExtensionSection[] = "EXTENSION";
inline constexpr char kSettingsFileName[] = "Dovrek.ini";
// A settings file larger than this is not read (nor replaced): it is no settings file.
inline constexpr size_t kSettingsFileLimit = 1u << 20;

// The flag value of a settings text: a number, blanks around it allowed, rounded to the
// nearest whole number with halves to even, held to 16 bits; anything else 0.
int16_t ParseFlag(const std::string& text);

// Reads the six flags in the order XLS, TXT, CMT, FUNC, DIR, TRIM, then [EXTENSION]: complete
// mode is on when COMPLETE is the flag 1; SOURCE names the source encoding as
// SourceEncodingChoiceNamed reads it, any other text leaves it unset. *options gets what was read, the
// defaults when the file is missing (NotFound) or cannot be read or is over
// kSettingsFileLimit (a failure naming the file). A file with the UTF-8 byte-order mark is
// read as UTF-8.
Status LoadOptions(const std::string& settings_path, Options* options);

// Writes the six flags in the order XLS, TXT, CMT, DIR, FUNC, TRIM, first creating the file's
// folder and the folder above it (mode 0700) when they are missing, as for a new
// ~/.config/dovrek. Stops at the first failure, described as kSettingsNotSaved, a line break
// and "path: reason", for the caller to show. [EXTENSION] is never written: it stays as the
// user wrote it.
Status SaveOptions(const std::string& settings_path, const Options& options);

}  // namespace dovrek
