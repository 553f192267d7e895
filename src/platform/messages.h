#pragma once
// The texts the program shows to the user, in one table, and the small functions that compose
// them with the names of files and lines.

#include <string>
#include <string_view>

namespace dovrek {

// Reading and writing files

// What the system's failures mean, for the errno values a user meets most.
inline constexpr char kFileNotFound[] = "ファイルが見つかりません。";
inline constexpr char kPathNotFound[] = "パスが見つかりません。";
inline constexpr char kIsAFolder[] = "パス/ファイル アクセス エラーです。(フォルダです)";
inline constexpr char kAccessDenied[] = "書き込みできません。(アクセスが拒否されました)";
inline constexpr char kDiskFull[] = "ディスクの空き容量が不足しています。";
inline constexpr char kDeviceIoError[] = "デバイス I/O エラーです。";
inline constexpr char kFileTooLarge[] = "ファイルが大きすぎます。";
inline constexpr char kNoDevice[] = "デバイスが見つかりません。(読み手のいないパイプなど)";
inline constexpr char kNameTooLong[] = "ファイル名が長すぎます。";

inline constexpr char kNotARegularFile[] = "通常のファイルではありません。";
inline constexpr char kFolderMissing[] = "フォルダが存在しません。";
inline constexpr char kForeignSharedLink[] =
    "共有フォルダーにある他のユーザーのシンボリック リンクはたどりません。";
// Running out of memory ends the run that needed it, not the program.
inline constexpr char kOutOfMemory[] = "メモリが不足しています。";

// A line of a project file that cannot be used.
inline constexpr char kUnusableProjectLine[] = "プロシージャの呼び出し、または引数が不正です。";
// A procedure head whose parameter list is never closed.
inline constexpr char kUnclosedHead[] = "手続きの見出しの「(」が閉じていません。";

// "<file>: <reason>", the form every file failure is reported in.
inline std::string FileMessage(std::string_view file, std::string_view reason) {
  return std::string(file) + ": " + std::string(reason);
}

// "<file>(<line>): <reason>", the form of a failure in one line of a file.
inline std::string LineMessage(std::string_view file, long line, std::string_view reason) {
  return std::string(file) + "(" + std::to_string(line) + "): " + std::string(reason);
}

// An end line ("End Sub", "End Function") with no procedure head before it.
inline std::string EndWithoutHead(std::string_view end_text) {
  return "「" + std::string(end_text) + "」より前に手続きの見出しがありません。";
}

}  // namespace dovrek
