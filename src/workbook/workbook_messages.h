#pragma once
// The workbook engine's texts: a template it cannot use, and a text cut to a cell's limit.

#include <cstddef>
#include <string>
#include <string_view>

namespace dovrek {

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
