#include "texts/messages.h"

#include <cmath>
#include <cstdio>

namespace dovrek {

std::string CreatePrompt(std::string_view native_path) {
  return std::string(native_path) + "\nこのファイルは存在しません。\nファイルを作成しますか?";
}

std::string TooManyProceduresMessage(size_t count, size_t most) {
  return "関数の数（" + std::to_string(count) +
         " 個）が 1 枚のワークシートに収まりません。関数一覧に書けるのは " + std::to_string(most) +
         " 個までです。";
}

std::string FunctionListTooLongMessage(uint64_t rows, uint64_t most) {
  return "関数の説明が長く、関数一覧に要る行（" + std::to_string(rows) +
         " 行）が 1 枚のワークシートの行数（" + std::to_string(most) + " 行）を超えます。";
}

std::string TooFewWorksheetsMessage(std::string_view native_path, size_t needed, size_t found) {
  return std::string(native_path) +
         ": テンプレートのワークシートが足りません: " + std::to_string(needed) + " 枚必要ですが " +
         std::to_string(found) + " 枚です。";
}

std::string NotOpenedInformation(std::string_view native_path) {
  return "ワークブックを開くアプリケーションを起動できませんでした。ファイルは次の場所に保存されて"
         "います。\n" +
         std::string(native_path);
}

std::string CutTextsLead(size_t limit) {
  const std::string characters = std::to_string(limit);
  return "次の関数の文字列が 1 つのセルに入る " + characters +
         " 文字を超えたため、ワークブックでは " + characters + " 文字で切りました。";
}

std::string MoreCutTexts(size_t more) { return "ほか " + std::to_string(more) + " 個"; }

std::string UnexpectedFailure(std::string_view what) {
  std::string text = "予期しないエラーが発生しました。";
  if (!what.empty()) text += "(" + std::string(what) + ")";
  return text;
}

std::string TextReportOutOfMemory(std::string_view native_path, std::string_view stage) {
  return FileMessage(native_path,
                     std::string(kOutOfMemory) + "(テキスト レポートの" + std::string(stage) + ")");
}

std::string SameFileForTwoOutputs(std::string_view native_path, Language language) {
  return std::string(native_path) + (language == Language::kJapanese
                                         ? ": 2 つの出力に同じファイルが指定されています。"
                                         : ": two outputs name the same file");
}

std::string UnknownOption(std::string_view arguments, Language language) {
  return (language == Language::kJapanese ? "不明なオプションです: " : "unknown option: ") +
         std::string(arguments);
}

std::string UnexpectedArgument(std::string_view arguments, Language language) {
  return (language == Language::kJapanese ? "余分な引数です: " : "unexpected argument: ") +
         std::string(arguments);
}

std::string MissingValue(std::string_view option, Language language) {
  return std::string(option) +
         (language == Language::kJapanese ? ": 値が指定されていません。" : ": a value is missing");
}

std::string ValueNotAllowed(std::string_view option, std::string_view value,
                            std::string_view allowed, Language language) {
  if (language == Language::kJapanese) {
    return std::string(option) + ": " + std::string(value) + " は指定できません。" +
           std::string(allowed) + " のどれかを指定してください。";
  }
  return std::string(option) + ": " + std::string(value) + " is not one of " + std::string(allowed);
}

std::string OptionsExclude(std::string_view option, std::string_view other, Language language) {
  if (language == Language::kJapanese) {
    return std::string(option) + " と " + std::string(other) + " は同時に指定できません。";
  }
  return std::string(option) + " cannot be given with " + std::string(other);
}

std::string BadCommandLine(std::string_view what, Language language) {
  return (language == Language::kJapanese ? "コマンド ラインが正しくありません: "
                                          : "bad command line: ") +
         std::string(what);
}

std::string SummarySeconds(double seconds) {
  const long long milliseconds = std::llround(seconds * 1000);
  if (milliseconds < 1000) return " (" + std::to_string(milliseconds) + " ms)";
  char time[32];
  std::snprintf(time, sizeof time, "%.2f", seconds);
  return std::string(" (") + time + " 秒)";
}

std::string SettingsFileTooLarge(size_t limit) {
  return "ファイルが大きすぎます。(設定ファイルは " + std::to_string(limit >> 20) + " MiB まで)";
}

std::string UnknownSystemError(int error) {
  return "システム エラーです。(番号 " + std::to_string(error) + ")";
}

std::string FileNamePrompt(std::string_view filter_name) {
  return std::string(filter_name) + " のファイル名を入力してください (空欄で取り消し): ";
}

std::string OverwritePrompt(std::string_view native_path) {
  return std::string(native_path) + " は既に存在します。上書きしますか?";
}

std::string CellTextCutWarning(std::string_view sheet, std::string_view cell, size_t limit) {
  const std::string count = std::to_string(limit);
  return "警告: シート「" + std::string(sheet) + "」のセル " + std::string(cell) + " の文字列が " +
         count + " 文字を超えたため、" + count + " 文字で切りました。";
}

std::string MissingSharedString(size_t index) {
  return "共有文字列 " + std::to_string(index) + " がブックにありません。";
}

std::string UnsettableRowHeight(long row, long points) {
  return "行 " + std::to_string(row) + " の高さ " + std::to_string(points) + " は設定できません。";
}

std::string MissingCellFormat(long format) {
  return "セルの書式番号 " + std::to_string(format) + " がスタイルにありません。";
}

std::string MissingStyleSection(std::string_view name) {
  return "スタイル (styles.xml) に " + std::string(name) + " がありません。";
}

std::string MissingFormatFont(long format) {
  return "セルの書式 " + std::to_string(format) + " のフォントがスタイルにありません。";
}

std::string MissingSheet(long position) {
  return "シート " + std::to_string(position) + " がありません。";
}

std::string UnusableSheetName(std::string_view name) {
  return "シート名「" + std::string(name) + "」は使えません。";
}

std::string SheetNameInUse(std::string_view template_path, std::string_view name, long position,
                           long holder) {
  return std::string(template_path) + ": シート " + std::to_string(position) + " に名前「" +
         std::string(name) + "」を付けられません。テンプレートのシート " + std::to_string(holder) +
         " が既にその名前です (シートの順序が違います)。";
}

std::string TooManyPartsMessage(std::string_view template_path, size_t count, size_t most) {
  return std::string(template_path) + ": テンプレートの項目が多すぎます (" + std::to_string(count) +
         " 個。使えるのは " + std::to_string(most) + " 個までです)。";
}

std::string DroppedEntryWarning(std::string_view template_path, std::string_view entry) {
  return "警告: " + std::string(template_path) + ": テンプレートの項目「" + std::string(entry) +
         "」はパッケージの外を指す名前のため、ワークブックに入れませんでした。";
}

std::string HiddenSheetNotSelectable(std::string_view name) {
  return "非表示のシート「" + std::string(name) + "」は選択できません。";
}

}  // namespace dovrek
