#pragma once
// The encodings the program reads source files in and writes text reports in, and their names
// as the command line, the settings file and the outputs spell them.

#include <optional>
#include <string_view>

namespace dovrek {

enum class Encoding { kCp932, kUtf8, kCp1252 };

// "cp932", "utf-8" or "cp1252".
std::string_view EncodingName(Encoding encoding);

// The encoding of that name, in any letter case; nullopt for any other text.
std::optional<Encoding> EncodingNamed(std::string_view name);

}  // namespace dovrek
