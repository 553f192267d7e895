#pragma once
// Every text the program says to its user, in one table: box titles, box texts, window and
// progress captions, console texts, usage errors and the closing line of a batch run. Texts are
// UTF-8 and kept byte for byte; a function composes a text from the values of one run. The
// reports' own layout (their headings and labels) stays with the report that writes it.

#include <cstddef>
#include <string>
#include <string_view>

namespace dovrek {

// Message boxes: the title of each kind.
inline constexpr char kErrorTitle[] = "エラー";
inline constexpr char kMessageTitle[] = "注意";
inline constexpr char kInformationTitle[] = "情報";
inline constexpr char kQuestionTitle[] = "質問";

// Windows
inline constexpr char kApplicationTitle[] = "Dovrek Builder";
inline constexpr char kProgressCaption[] = "仕様書を作成しています･･･";
// Asked before the file dialogs return the name of a file that does not exist yet.
std::string CreatePrompt(std::string_view native_path);

// Starting a run
inline constexpr char kNoOutputChosen[] = "出力先ファイルが指定されていません。";
inline constexpr char kProjectNotFound[] = "指定されたフォルダに vbp ファイルが見つかりません。";
inline constexpr char kSettingsNotSaved[] = "設定を保存できませんでした。";

// Reading the member files: the progress window's phase for each kind.
inline constexpr char kReadingForms[] = "フォームを読み込んでいます…";
inline constexpr char kReadingModules[] = "標準モジュールを読み込んでいます…";
inline constexpr char kReadingClasses[] = "クラス モジュールを読み込んでいます…";
inline constexpr char kReadingControls[] = "ユーザーコントロールを読み込んでいます…";
inline constexpr char kReadingPages[] = "プロパティページを読み込んでいます…";
inline constexpr char kReadingDocuments[] = "ユーザードキュメントを読み込んでいます…";
inline constexpr char kReadingDesigners[] = "デザイナを読み込んでいます…";
inline constexpr char kMissingMembersSkipped[] =
    "次のファイルが見つからないため、読み込まずに続けました。";

// Writing the reports
// The phase while either report writes its procedures.
inline constexpr char kFunctionListPhase[] = "関数一覧を出力しています…";
inline constexpr char kTemplateMissingMessage[] = "XLT ファイルが存在しません。";
// More procedures (`count`) than the function list's worksheet holds (`most`).
std::string TooManyProceduresMessage(size_t count, size_t most);
// A template (native path) with fewer worksheets than the workbook needs.
std::string TooFewWorksheetsMessage(std::string_view native_path, size_t needed, size_t found);
// The desktop's opener failed; the workbook lies at `native_path`.
std::string NotOpenedInformation(std::string_view native_path);
// The first line of the information on texts cut to the cell limit of `limit` characters.
std::string CutTextsLead(size_t limit);
// The last line of that information when `more` procedures are left unnamed.
std::string MoreCutTexts(size_t more);

// Batch runs on the console
inline constexpr char kNoDisplay[] = "ウィンドウを表示できません (ディスプレイがありません)。";
inline constexpr char kWorkbookToTerminal[] =
    "ワークブックは端末には書き出せません。標準出力をファイルかパイプにつなぐか、ファイル名を指定"
    "してください。";
// Standard output where a file would be named.
inline constexpr char kStandardOutputLabel[] = "標準出力";

// Usage errors
inline constexpr char kNoProjectNamed[] = "プロジェクト ファイルが指定されていません。";
inline constexpr char kTooManyArguments[] = "引数が多すぎます。";
inline constexpr char kOptionBeforeUnattended[] =
    "/a の前にオプションは指定できません (/a の後ろはすべてプロジェクトのパスです)。";
inline constexpr char kOneOutputToStandardOutput[] = "標準出力に書き出せる出力は 1 つだけです。";
// Two outputs name one file, `native_path` being the second.
std::string SameFileForTwoOutputs(std::string_view native_path);
// Printed by --help and after a usage error.
extern const char kUsageText[];

// The closing line of a batch run: "完了: <name> — <counts> → <outputs> (<seconds> 秒)".
inline constexpr char kSummaryLead[] = "完了: ";
inline constexpr char kSummarySeparator[] = "、";
inline constexpr char kFormsLabel[] = "フォーム";
inline constexpr char kModulesLabel[] = "標準モジュール";
inline constexpr char kClassesLabel[] = "クラス モジュール";
inline constexpr char kControlsLabel[] = "ユーザーコントロール";
inline constexpr char kPagesLabel[] = "プロパティページ";
inline constexpr char kDocumentsLabel[] = "ユーザードキュメント";
inline constexpr char kDesignersLabel[] = "デザイナ";
inline constexpr char kProceduresLabel[] = "プロシージャ";
inline constexpr char kTextOutputLabel[] = "テキスト";
inline constexpr char kWorkbookOutputLabel[] = "ワークブック";
inline constexpr char kJsonOutputLabel[] = "JSON";
// " (0.12 秒)": the time the run took.
std::string SummarySeconds(double seconds);

}  // namespace dovrek
