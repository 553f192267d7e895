#include "app/inventory_file.h"

#include "app/inventory_table.h"
#include "os/replacing_file.h"
#include "base/text_helpers.h"
#include "report/json_writer.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

// A CSV field: quoted, its quotes doubled, when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void CsvLine(const std::vector<std::string>& fields, BufferedWriter& out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.Put(',');
    out.Append(CsvField(fields[i]));
  }
  out.Append("\r\n");
}

void JsonCell(const InventoryColumn& column, const InventoryCell& cell, ObjectWriter& object,
              BufferedWriter& out) {
  if (cell.is_number) {
    object.Number(column.key.c_str(), cell.number);
  } else if (column.list) {
    object.Key(column.key.c_str());
    AppendArray(cell.texts, [&](const std::string& text) { AppendString(text, out); }, out, 4);
  } else if (cell.texts.empty()) {
    object.Raw(column.key.c_str(), "null");
  } else {
    object.String(column.key.c_str(), cell.texts[0]);
  }
}

}  // namespace

void WriteInventoryCsv(const std::vector<InventoryRow>& rows, BufferedWriter& out) {
  out.Append("\xEF\xBB\xBF");
  std::vector<std::string> fields;
  for (const InventoryColumn& column : InventoryColumns()) fields.push_back(column.heading);
  CsvLine(fields, out);
  for (const InventoryRow& row : rows) {
    fields.clear();
    for (const InventoryCell& cell : InventoryCells(row)) fields.push_back(cell.Joined());
    CsvLine(fields, out);
  }
}

void WriteInventoryJson(const std::vector<InventoryRow>& rows, BufferedWriter& out) {
  const std::vector<InventoryColumn> columns = InventoryColumns();
  AppendArray(
      rows,
      [&](const InventoryRow& row) {
        ObjectWriter object(2, out);
        std::vector<InventoryCell> cells = InventoryCells(row);
        for (size_t i = 0; i < columns.size(); ++i) JsonCell(columns[i], cells[i], object, out);
        object.Close();
      },
      out, 0);
  out.Append("\n");
}

Status WriteInventory(const std::string& native_path, const std::vector<InventoryRow>& rows) {
  ReplacingFile file;
  if (Status opened = file.Open(native_path); !opened.ok()) return opened;
  const std::string small = AsciiSmall(native_path);
  try {
    if (small.ends_with(".csv")) {
      WriteInventoryCsv(rows, file.writer());
    } else if (small.ends_with(".json")) {
      WriteInventoryJson(rows, file.writer());
    } else {
      WriteInventoryWorkbook(rows, file.writer());
    }
  } catch (const WorkbookError& e) {
    file.Abandon();
    return Status::Error(e.what());
  }
  return file.Commit();
}

}  // namespace dovrek
