#pragma once
// The texts both front ends (the window and the console) show: no output chosen, and the
// filters of the file dialogs.

namespace dovrek {

inline constexpr char kNoOutputChosen[] = "出力先ファイルが指定されていません。";

// File dialogs: the filters ("description|pattern").
inline constexpr char kProjectFilter[] = "プロジェクト ファイル (*.vbp)|*.vbp";
inline constexpr char kTextFilter[] = "テキスト ファイル (*.txt)|*.txt";

}  // namespace dovrek
