// The inventory as a workbook: one sheet, a table of one row per project under a frozen header
// row with a filter on it, so that it can be sorted and filtered at once. Cells hold their texts
// inline and the counts as numbers, which sort as numbers.

#include "app/inventory_file.h"
#include "app/inventory_table.h"
#include "workbook/cell_reference.h"
#include "workbook/cell_text.h"
#include "workbook/package_parts.h"
#include "workbook/zip_package.h"

namespace dovrek {
namespace {

constexpr char kSheetName[] = "一覧";
constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kPackageRelationships[] =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kContentTypes[] =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>";
// Formats: 0 plain, 1 the bold heading, 2 a text cell, wrapped and at the top.
constexpr char kStyles[] =
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"ＭＳ Ｐゴシック\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"ＭＳ Ｐゴシック\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "</cellStyleXfs><cellXfs count=\"3\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyAlignment=\"1\"><alignment vertical=\"top\" wrapText=\"1\"/></xf></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
    "</cellStyles>";

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

std::string TextCell(CellReference at, std::string_view text, int format) {
  bool cut = false;
  return "<c r=\"" + CellName(at) + "\" t=\"inlineStr\" s=\"" + std::to_string(format) +
         "\"><is><t xml:space=\"preserve\">" +
         XmlEscaped(EncodeCellText(LimitCellText(text, &cut))) + "</t></is></c>";
}

std::string Row(uint32_t row, const std::vector<std::string>& cells) {
  std::string xml = "<row r=\"" + std::to_string(row) + "\">";
  for (const std::string& cell : cells) xml += cell;
  return xml + "</row>";
}

std::string HeaderRow(const std::vector<InventoryColumn>& columns) {
  std::vector<std::string> cells;
  for (uint32_t c = 0; c < columns.size(); ++c) {
    cells.push_back(TextCell({c + 1, 1}, columns[c].heading, 1));
  }
  return Row(1, cells);
}

std::string ProjectRow(uint32_t row, const InventoryRow& project) {
  std::vector<std::string> cells;
  std::vector<InventoryCell> values = InventoryCells(project);
  for (uint32_t c = 0; c < values.size(); ++c) {
    const CellReference at{c + 1, row};
    if (values[c].is_number) {
      cells.push_back("<c r=\"" + CellName(at) + "\"><v>" + values[c].Joined() + "</v></c>");
    } else if (!values[c].texts.empty()) {
      cells.push_back(TextCell(at, values[c].Joined(), 2));
    }
  }
  return Row(row, cells);
}

std::string Columns(const std::vector<InventoryColumn>& columns) {
  std::string xml = "<cols>";
  for (size_t c = 0; c < columns.size(); ++c) {
    int width = c == 0 ? 48 : columns[c].list ? 32 : 12;
    std::string n = std::to_string(c + 1);
    xml += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + std::to_string(width) +
           "\" customWidth=\"1\"/>";
  }
  return xml + "</cols>";
}

// The header row and every project, "A1:AF104".
std::string TableRange(size_t columns, size_t rows) {
  return "A1:" + CellName({static_cast<uint32_t>(columns), static_cast<uint32_t>(rows + 1)});
}

std::string Sheet(const std::vector<InventoryRow>& rows) {
  const std::vector<InventoryColumn> columns = InventoryColumns();
  std::string xml = std::string(kXmlHead) + "<worksheet xmlns=\"" + kMain +
                    "\"><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
                    "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
                    "state=\"frozen\"/></sheetView></sheetViews>" +
                    Columns(columns) + "<sheetData>" + HeaderRow(columns);
  for (uint32_t r = 0; r < rows.size(); ++r) xml += ProjectRow(r + 2, rows[r]);
  return xml + "</sheetData><autoFilter ref=\"" + TableRange(columns.size(), rows.size()) +
         "\"/></worksheet>";
}

std::string WorkbookPart(size_t rows) {
  const std::string absolute = "$A$1:$" +
                               ColumnName(static_cast<uint32_t>(InventoryColumns().size())) +
                               "$" + std::to_string(rows + 1);
  return std::string(kXmlHead) + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelationshipsNamespace +
         "\"><sheets><sheet name=\"" + kSheetName +
         "\" sheetId=\"1\" r:id=\"rId1\"/></sheets><definedNames><definedName "
         "name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" hidden=\"1\">'" +
         kSheetName + "'!" + absolute + "</definedName></definedNames></workbook>";
}

std::string Relationship(const char* id, const std::string& type, const char* target) {
  return std::string("<Relationship Id=\"") + id + "\" Type=\"" + kRelationshipsNamespace + "/" + type +
         "\" Target=\"" + target + "\"/>";
}

}  // namespace

void WriteInventoryWorkbook(const std::vector<InventoryRow>& rows, BufferedWriter& out) {
  const std::string relationships_head =
      std::string(kXmlHead) + "<Relationships xmlns=\"" + kPackageRelationships + "\">";
  ZipPackage package;
  package.Put("[Content_Types].xml", kXmlHead + std::string(kContentTypes));
  package.Put("_rels/.rels", relationships_head +
                                 Relationship("rId1", "officeDocument", "xl/workbook.xml") +
                                 "</Relationships>");
  package.Put("xl/workbook.xml", WorkbookPart(rows.size()));
  package.Put("xl/_rels/workbook.xml.rels",
              relationships_head + Relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                  Relationship("rId2", "styles", "styles.xml") + "</Relationships>");
  package.Put("xl/styles.xml",
              std::string(kXmlHead) + "<styleSheet xmlns=\"" + kMain + "\">" + kStyles +
                  "</styleSheet>");
  package.Put("xl/worksheets/sheet1.xml", Sheet(rows));
  package.WriteTo(out, {});
}

}  // namespace dovrek
