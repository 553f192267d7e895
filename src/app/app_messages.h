#pragma once
// The texts of the command line and of batch runs: usage errors (in the user's language), a
// settings file that cannot be read, the closing line of a batch run, and what is told after
// the workbook is written.

#include <cstddef>
#include <string>
#include <string_view>

#include "texts/ui_language.h"

namespace dovrek {

inline constexpr char kScreensDirNeedsScreens[] =
    "--screens-dir は画面を出力する実行 (--complete、--no-screens なし) でのみ使えます。";
// Followed by a line break and "<path>: <reason>": the run goes on with the default options.
inline constexpr char kSettingsNotRead[] = "設定ファイルを読み込めないため、既定の設定で続けます。";
// Followed by a line break and "<path>: <reason>": the file --settings names cannot be read.
inline constexpr char kSettingsOptionNotRead[] =
    "--settings に指定された設定ファイルを読み込めません。";

// The desktop's opener failed; the workbook lies at `native_path`.
std::string NotOpenedInformation(std::string_view native_path);
// The first line of the information on texts cut to the cell limit of `limit` characters.
std::string CutTextsLead(size_t limit);
// The last line of that information when `more` procedures are left unnamed.
std::string MoreCutTexts(size_t more);

// Batch runs on the console
inline constexpr char kWorkbookToTerminal[] =
    "ワークブックは端末には書き出せません。標準出力をファイルかパイプにつなぐか、ファイル名を指定"
    "してください。";
// Standard output where a file would be named.
inline constexpr char kStandardOutputLabel[] = "標準出力";

// A text of the command line itself (usage errors), which speaks the user's language.
struct CommandLineText {
  const char* english;
  const char* japanese;
  const char* In(Language language) const {
    return language == Language::kJapanese ? japanese : english;
  }
};

// Usage errors
inline constexpr CommandLineText kNoDisplay = {
    "cannot show a window (there is no display)",
    "ウィンドウを表示できません (ディスプレイがありません)。"};
inline constexpr CommandLineText kNoProjectNamed = {"no project file named",
                                                    "プロジェクト ファイルが指定されていません。"};
inline constexpr CommandLineText kTooManyArguments = {"too many arguments", "引数が多すぎます。"};
inline constexpr CommandLineText kOptionBeforeUnattended = {
    "no option may stand before /a (everything after /a is the project path)",
    "/a の前にオプションは指定できません (/a の後ろはすべてプロジェクトのパスです)。"};
inline constexpr CommandLineText kOneOutputToStandardOutput = {
    "only one output may go to standard output", "標準出力に書き出せる出力は 1 つだけです。"};
// Two outputs name one file, `native_path` being the second.
std::string SameFileForTwoOutputs(std::string_view native_path, Language language);
// The command-line library's errors, each naming what it is about.
std::string UnknownOption(std::string_view arguments, Language language);
std::string UnexpectedArgument(std::string_view arguments, Language language);
std::string MissingValue(std::string_view option, Language language);
std::string ValueNotAllowed(std::string_view option, std::string_view value,
                            std::string_view allowed, Language language);
std::string OptionsExclude(std::string_view option, std::string_view other, Language language);
// Any other error of the library, in its own (English) words.
std::string BadCommandLine(std::string_view what, Language language);
// An output names a file the run reads (the project, a member, the template).
inline constexpr char kOutputIsAnInput[] = "出力先に入力ファイルが指定されています。";

// The closing line of a batch run: "完了: <name> — <counts> → <outputs> (<seconds> 秒)".
inline constexpr char kSummaryLead[] = "完了: ";
inline constexpr char kSummarySeparator[] = "、";
inline constexpr char kProceduresLabel[] = "プロシージャ";
inline constexpr char kTextOutputLabel[] = "テキスト";
inline constexpr char kWorkbookOutputLabel[] = "ワークブック";
inline constexpr char kJsonOutputLabel[] = "JSON";
// " (0.12 秒)": the time the run took; " (420 ms)" under a second.
std::string SummarySeconds(double seconds);
// The summary's second line names the settings file the run read: "設定ファイル: <path>", or
// "設定ファイル: なし" when it read none.
inline constexpr char kSettingsFileLabel[] = "設定ファイル";

}  // namespace dovrek
