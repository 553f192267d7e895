#pragma once
// The failures met reading a project file and its modules.

#include <string>
#include <string_view>

namespace dovrek {

// A file named as the project that has no "Type=" line, and one that is a project group: both
// follow "<path>: ".
inline constexpr char kNotAProject[] = "VB6 のプロジェクト ファイルではありません。";
inline constexpr char kProjectGroupNotRun[] =
    "VB6 のプロジェクト グループ ファイルです。グループはコマンド ラインから実行してください。";
// A line of a project file that cannot be used.
inline constexpr char kUnusableProjectLine[] = "プロシージャの呼び出し、または引数が不正です。";
// A procedure head whose parameter list is never closed.
inline constexpr char kUnclosedHead[] = "手続きの見出しの「(」が閉じていません。";

// "<file>(<line>): <reason>", the form of a failure in one line of a file.
inline std::string LineMessage(std::string_view file, long line, std::string_view reason) {
  return std::string(file) + "(" + std::to_string(line) + "): " + std::string(reason);
}

// An end line ("End Sub", "End Function") with no procedure head before it.
inline std::string EndWithoutHead(std::string_view end_text) {
  return "「" + std::string(end_text) + "」より前に手続きの見出しがありません。";
}

}  // namespace dovrek
