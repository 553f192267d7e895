#pragma once
// The console's questions in place of the window's dialogs.

#include <string>
#include <string_view>

namespace dovrek {

inline constexpr char kNoTerminal[] =
    "ファイル名を尋ねる端末がありません (標準入力が端末ではありません)。";
// Follows a question on the console: only "y" or "yes" answers yes.
inline constexpr char kYesNoSuffix[] = " [y/N] ";
// Asks for a file of the kind a filter describes.
std::string FileNamePrompt(std::string_view filter_name);
std::string OverwritePrompt(std::string_view native_path);

}  // namespace dovrek
