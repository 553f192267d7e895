#pragma once
// The failure texts many layers share: the form every file failure is reported in, and
// running out of memory.

#include <string>
#include <string_view>

namespace dovrek {

// Running out of memory ends the run that needed it, not the program.
inline constexpr char kOutOfMemory[] = "メモリが不足しています。";

// "<file>: <reason>", the form every file failure is reported in.
inline std::string FileMessage(std::string_view file, std::string_view reason) {
  return std::string(file) + ": " + std::string(reason);
}

}  // namespace dovrek
