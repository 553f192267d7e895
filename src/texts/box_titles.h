#pragma once
// The title of each kind of message box, the same in the window and on the console.

namespace dovrek {

// Message boxes: the title of each kind.
inline constexpr char kErrorTitle[] = "エラー";
inline constexpr char kMessageTitle[] = "注意";
inline constexpr char kInformationTitle[] = "情報";
inline constexpr char kQuestionTitle[] = "質問";

}  // namespace dovrek
