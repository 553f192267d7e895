#include "workbook/workbook_messages.h"

namespace dovrek {

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
