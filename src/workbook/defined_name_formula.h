#pragma once
// The formula text of a defined name, such as 'Cover'!$C$5 or Sheet1!$1:$4: sheet names in it
// are quoted ('...' with ' doubled) when they are not plain identifiers.

#include <optional>
#include <string>
#include <string_view>

#include "workbook/cell_reference.h"

namespace dovrek {

// The sheet name as a formula writes it: always in single quotes, inner quotes doubled, which
// every reader accepts for every name.
std::string QuoteSheetName(std::string_view sheet_name);

// The formula with every reference to sheet `old_name` (compared without regard to ASCII letter
// case) made a reference to `new_name`. String literals and other sheets are left alone.
std::string RenameSheetInFormula(std::string_view formula, std::string_view old_name,
                                 std::string_view new_name);

// A formula that names exactly one cell on one sheet.
struct SheetCell {
  std::string sheet;
  CellReference cell;
};

// The sheet and cell of a formula of the form Sheet!$C$5 (an optional leading "="), or nullopt
// for anything else (a range, several areas, a constant, an error such as #REF!).
std::optional<SheetCell> ParseSheetCell(std::string_view formula);

}  // namespace dovrek
