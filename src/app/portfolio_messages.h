#pragma once
// The texts of a batch run over many projects: its usage errors, its progress lines, its
// closing summary and the headings of its inventory.

#include <string>
#include <string_view>

#include "app/app_messages.h"

namespace dovrek {

// The usage errors of a run over many projects, in English and in Japanese.
inline constexpr CommandLineText kPortfolioWithOutputFiles = {
    "--output-dir and --inventory cannot be given with -t, -x or -j",
    "--output-dir と --inventory は -t、-x、-j と一緒には使えません。"};
inline constexpr CommandLineText kManyProjectsNeedOutputDir = {
    "many projects need --output-dir or --inventory",
    "複数のプロジェクトには --output-dir か --inventory を指定してください。"};
inline constexpr CommandLineText kNoFormatChosen = {
    "--formats names no format", "--formats に形式をひとつ以上指定してください。"};
inline constexpr CommandLineText kScreensDirWithPortfolio = {
    "--screens-dir cannot be given with --output-dir or --inventory",
    "--screens-dir は --output-dir や --inventory と一緒には使えません。"};
inline std::string UnknownFormat(std::string_view name, Language language) {
  return (language == Language::kJapanese ? "--formats に使えるのは workbook、text、json です: "
                                          : "--formats takes workbook, text and json: ") +
         std::string(name);
}
inline std::string UnknownInventoryKind(std::string_view path, Language language) {
  return (language == Language::kJapanese
              ? "--inventory のファイル名は .xlsx、.json、.csv のどれかで終えてください: "
              : "the --inventory file name must end in .xlsx, .json or .csv: ") +
         std::string(path);
}

// Why an input names no project.
inline constexpr char kNoProjectsBelow[] = "フォルダに vbp ファイルがありません。";
inline constexpr char kInputNotFound[] = "ファイルもフォルダもありません。";

// The outcome of one project, as the inventory and the summary name it.
inline constexpr char kOutcomeWritten[] = "書き出し済み";
inline constexpr char kOutcomeMissing[] = "メンバー欠落";
inline constexpr char kOutcomeFailed[] = "失敗";

// "完了: 12 プロジェクト中 10 件を書き出しました (欠落メンバーあり 1 件、失敗 1 件)".
inline std::string PortfolioTotals(size_t total, size_t written, size_t missing, size_t failed) {
  return "完了: " + std::to_string(total) + " プロジェクト中 " + std::to_string(written) +
         " 件を書き出しました (欠落メンバーあり " + std::to_string(missing) + " 件、失敗 " +
         std::to_string(failed) + " 件)";
}
inline constexpr char kMissingMemberLead[] = "  見つからないメンバー: ";
inline constexpr char kInventoryLead[] = "一覧: ";

}  // namespace dovrek
