#pragma once
// The texts of a run of one project: a project or settings file that cannot be used, the
// members skipped, and a failure the run was not prepared for.

#include <cstddef>
#include <string>
#include <string_view>

namespace dovrek {

inline constexpr char kProjectNotFound[] = "指定されたフォルダに vbp ファイルが見つかりません。";
inline constexpr char kSettingsNotSaved[] = "設定を保存できませんでした。";
// A settings file over `limit` bytes (a whole number of MiB).
std::string SettingsFileTooLarge(size_t limit);

// Reading the member files.
inline constexpr char kMissingMembersSkipped[] =
    "次のファイルが見つからないため、読み込まずに続けました。";
// Any other failure no part of the run was prepared for also ends only the run:
// "予期しないエラーが発生しました。(<what the failure says of itself>)".
std::string UnexpectedFailure(std::string_view what);

}  // namespace dovrek
