#pragma once
// The inventory as a table: its columns, with Japanese headings, and the cells of a row. The
// workbook, CSV and JSON forms of the inventory are all written from it.

#include <string>
#include <vector>

#include "app/inventory_row.h"

namespace dovrek {

struct InventoryColumn {
  std::string heading;  // the table's heading
  std::string key;      // the JSON field
  bool list = false;    // several texts: a JSON array, one a line in a cell
};

// A number, or texts (none for an empty cell).
struct InventoryCell {
  bool is_number = false;
  long long number = 0;
  std::vector<std::string> texts;

  std::string Joined() const;  // the number, or the texts one a line
};

std::vector<InventoryColumn> InventoryColumns();

// The row's cells, one per column. The counts of a project not read to its end are empty.
std::vector<InventoryCell> InventoryCells(const InventoryRow& row);

}  // namespace dovrek
