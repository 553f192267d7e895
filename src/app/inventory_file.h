#pragma once
// Writes the inventory of a run over many projects, in the form its file name ends with:
// ".xlsx" a workbook whose one sheet is a table with a header row and a filter on it, ".csv"
// UTF-8 text with a byte-order mark and RFC 4180 quoting, ".json" an array of objects, one a
// project. The file is replaced only once it is complete.

#include <string>
#include <vector>

#include "app/inventory_row.h"
#include "os/buffered_writer.h"
#include "base/status.h"

namespace dovrek {

Status WriteInventory(const std::string& native_path, const std::vector<InventoryRow>& rows);

// The three forms, written to `out`.
void WriteInventoryCsv(const std::vector<InventoryRow>& rows, BufferedWriter& out);
void WriteInventoryJson(const std::vector<InventoryRow>& rows, BufferedWriter& out);
void WriteInventoryWorkbook(const std::vector<InventoryRow>& rows, BufferedWriter& out);

}  // namespace dovrek
