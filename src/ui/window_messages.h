#pragma once
// The window's own texts: its title, the progress caption and the question before a new file.

#include <string>
#include <string_view>

namespace dovrek {

inline constexpr char kApplicationTitle[] = "Dovrek Builder";
inline constexpr char kProgressCaption[] = "仕様書を作成しています･･･";
// Asked before the file dialogs return the name of a file that does not exist yet.
std::string CreatePrompt(std::string_view native_path);

}  // namespace dovrek
