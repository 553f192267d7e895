#pragma once
// A1-style cell addresses: "B5", "$C$12". Columns run from A (1) to XFD (16384), rows from 1 to
// 1048576, the limits of a worksheet.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dovrek {

inline constexpr uint32_t kMaxColumn = 16384;
inline constexpr uint32_t kMaxRow = 1048576;

struct CellReference {
  uint32_t column = 0;  // 1-based
  uint32_t row = 0;     // 1-based

  bool operator==(const CellReference&) const = default;
};

// The cell an address names ("B5", "$B$5", letters in either case), or nullopt when the text is
// not exactly one cell address inside the worksheet's limits.
std::optional<CellReference> ParseCellReference(std::string_view text);

// The column's letters: 1 -> "A", 28 -> "AB".
std::string ColumnName(uint32_t column);

// The plain address: {2, 5} -> "B5".
std::string CellName(CellReference cell);

}  // namespace dovrek
