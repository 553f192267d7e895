#pragma once
// Every text the program says to its user, in one table: box titles, box texts, window and
// progress captions, console texts, usage errors, the closing line of a batch run, and the
// failures met reading and writing files with the small functions that compose them with the
// names of files and lines. Texts are UTF-8 and kept byte for byte; a function composes a text
// from the values of one run. The reports' own layout (their headings and labels) stays with
// the report that writes it.

#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>

#include "texts/ui_language.h"

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
inline constexpr char kScreensDirNeedsScreens[] =
    "--screens-dir は画面を出力する実行 (--complete、--no-screens なし) でのみ使えます。";
inline constexpr char kProjectNotFound[] = "指定されたフォルダに vbp ファイルが見つかりません。";
inline constexpr char kSettingsNotSaved[] = "設定を保存できませんでした。";
// Followed by a line break and "<path>: <reason>": the run goes on with the default options.
inline constexpr char kSettingsNotRead[] = "設定ファイルを読み込めないため、既定の設定で続けます。";
// Followed by a line break and "<path>: <reason>": the file --settings names cannot be read.
inline constexpr char kSettingsOptionNotRead[] =
    "--settings に指定された設定ファイルを読み込めません。";
// A settings file over `limit` bytes (a whole number of MiB).
std::string SettingsFileTooLarge(size_t limit);

// Reading the member files.
inline constexpr char kMissingMembersSkipped[] =
    "次のファイルが見つからないため、読み込まずに続けました。";

// Writing the reports
// The phase while either report writes its procedures.
inline constexpr char kFunctionListPhase[] = "関数一覧を出力しています…";
inline constexpr char kTemplateMissingMessage[] = "XLT ファイルが存在しません。";
// More procedures (`count`) than the function list's worksheet holds (`most`).
std::string TooManyProceduresMessage(size_t count, size_t most);
// Descriptions so long that the function list needs more rows than a worksheet has.
std::string FunctionListTooLongMessage(uint64_t rows, uint64_t most);
// A template (native path) with fewer worksheets than the workbook needs.
std::string TooFewWorksheetsMessage(std::string_view native_path, size_t needed, size_t found);
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
// Reading and writing files

// What the system's failures mean, one text per errno value (the table is in system_error.cc).
// Where reading and writing meet the same failure, the text says which of them failed.
inline constexpr char kFileNotFound[] = "ファイルが見つかりません。";
inline constexpr char kPathNotFound[] = "パスが見つかりません。";
inline constexpr char kIsAFolder[] = "パス/ファイル アクセス エラーです。(フォルダです)";
inline constexpr char kAccessDenied[] = "書き込みできません。(アクセスが拒否されました)";
inline constexpr char kReadAccessDenied[] = "読み込みできません。(アクセスが拒否されました)";
inline constexpr char kNotPermitted[] = "書き込みできません。(操作が許可されていません)";
inline constexpr char kReadNotPermitted[] = "読み込みできません。(操作が許可されていません)";
inline constexpr char kReadOnlyFileSystem[] =
    "書き込みできません。(読み取り専用のファイル システムです)";
inline constexpr char kLinkLoop[] =
    "シンボリック リンクをたどれません。(リンクが多すぎるか、循環しています)";
inline constexpr char kBadHandle[] = "ファイル ハンドルが無効です。(閉じられた標準出力など)";
inline constexpr char kDiskFull[] = "ディスクの空き容量が不足しています。";
inline constexpr char kQuotaExceeded[] = "ディスク クォータを超えました。";
inline constexpr char kDeviceIoError[] = "デバイス I/O エラーです。";
inline constexpr char kFileTooLarge[] = "ファイルが大きすぎます。";
inline constexpr char kNoDevice[] = "デバイスが見つかりません。(読み手のいないパイプなど)";
inline constexpr char kNameTooLong[] = "ファイル名が長すぎます。";
inline constexpr char kPipeClosed[] = "書き込みできません。(パイプの読み手が終了しました)";
inline constexpr char kTooManyOpenFiles[] = "開いているファイルが多すぎます。";
inline constexpr char kBusy[] = "ファイルまたはデバイスが使用中です。";
inline constexpr char kRunningProgram[] = "書き込みできません。(実行中のプログラムのファイルです)";
inline constexpr char kAlreadyExists[] = "ファイルが既に存在します。";
inline constexpr char kOtherFileSystem[] = "別のファイル システムへは移動できません。";
inline constexpr char kInvalidArgument[] = "ファイル名または操作が正しくありません。";
inline constexpr char kFolderNotEmpty[] = "フォルダが空ではありません。";
inline constexpr char kTryAgain[] = "リソースが一時的に使用できません。";
inline constexpr char kNotSeekable[] = "位置を移動できないファイルです。(パイプなど)";
inline constexpr char kNotSupported[] = "この操作はファイル システムでサポートされていません。";
inline constexpr char kStaleHandle[] =
    "ファイル ハンドルが古くなっています。(ネットワーク上のファイル)";
inline constexpr char kTimedOut[] = "操作がタイムアウトしました。";
inline constexpr char kInterrupted[] = "操作が中断されました。";
// An errno value the table does not know: "システム エラーです。(番号 <error>)".
std::string UnknownSystemError(int error);

inline constexpr char kNotARegularFile[] = "通常のファイルではありません。";
inline constexpr char kFolderMissing[] = "フォルダが存在しません。";
inline constexpr char kForeignSharedLink[] =
    "共有フォルダーにある他のユーザーのシンボリック リンクはたどりません。";
// Running out of memory ends the run that needed it, not the program.
inline constexpr char kOutOfMemory[] = "メモリが不足しています。";
// Any other failure no part of the run was prepared for also ends only the run:
// "予期しないエラーが発生しました。(<what the failure says of itself>)".
std::string UnexpectedFailure(std::string_view what);
// Running out of memory while the text report `native_path` was at `stage`, one of the four
// stages below: "<path>: メモリが不足しています。(テキスト レポートの<stage>)".
std::string TextReportOutOfMemory(std::string_view native_path, std::string_view stage);
inline constexpr char kTextStageOpening[] = "ファイルの作成中";
inline constexpr char kTextStageHeading[] = "プロジェクト情報とモジュール一覧の出力中";
inline constexpr char kTextStageProcedures[] = "関数一覧の出力中";
inline constexpr char kTextStageClosing[] = "ファイルへの書き出し中";

// A file named as the project that has no "Type=" line, and one that is a project group: both
// follow "<path>: ".
inline constexpr char kNotAProject[] = "VB6 のプロジェクト ファイルではありません。";
inline constexpr char kProjectGroupNotRun[] =
    "VB6 のプロジェクト グループ ファイルです。グループはコマンド ラインから実行してください。";
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

// File dialogs: the filters ("description|pattern") and the console's questions.
inline constexpr char kProjectFilter[] = "プロジェクト ファイル (*.vbp)|*.vbp";
inline constexpr char kTextFilter[] = "テキスト ファイル (*.txt)|*.txt";
inline constexpr char kNoTerminal[] =
    "ファイル名を尋ねる端末がありません (標準入力が端末ではありません)。";
// Follows a question on the console: only "y" or "yes" answers yes.
inline constexpr char kYesNoSuffix[] = " [y/N] ";
// Asks for a file of the kind a filter describes.
std::string FileNamePrompt(std::string_view filter_name);
std::string OverwritePrompt(std::string_view native_path);

// The workbook engine: a template it cannot use, and a text cut to a cell's limit.
std::string CellTextCutWarning(std::string_view sheet, std::string_view cell, size_t limit);
std::string MissingSharedString(size_t index);
std::string UnsettableRowHeight(long row, long points);
inline constexpr char kNoCellFormats[] =
    "スタイル (styles.xml) にセルの書式 (cellXfs) がありません。";
std::string MissingCellFormat(long format);
std::string MissingStyleSection(std::string_view name);
std::string MissingFormatFont(long format);
std::string MissingSheet(long position);
std::string UnusableSheetName(std::string_view name);
// Sheet `position` (1-based, in workbook order) cannot take `name`: sheet `holder` of the
// template already has it, as when the template's sheets stand in another order.
std::string SheetNameInUse(std::string_view template_path, std::string_view name, long position,
                           long holder);
std::string HiddenSheetNotSelectable(std::string_view name);
inline constexpr char kZipNotMade[] = "zip を作れません。";
inline constexpr char kZipTooManyParts[] = "zip を作れません: パーツが 65535 個を超えます。";
// Why a template cannot be read as a zip.
inline constexpr char kNotAZip[] = "zip ファイルではありません";
inline constexpr char kZipDamaged[] = "zip の構造が壊れています";
inline constexpr char kZipMethodNotSupported[] = "圧縮方式または暗号化に対応していません";
inline constexpr char kZipPartTooLong[] = "記録された大きさより長いデータです";
// A template with `count` entries, more than the `most` a template may hold.
std::string TooManyPartsMessage(std::string_view template_path, size_t count, size_t most);
// An entry of the template left out of the workbook, its name leading out of the package.
std::string DroppedEntryWarning(std::string_view template_path, std::string_view entry);

}  // namespace dovrek
