#include "workbook/cell_reference.h"

#include <algorithm>

namespace dovrek {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<CellReference> ParseCellReference(std::string_view text) {
  size_t pos = 0;
  if (pos < text.size() && text[pos] == '$') ++pos;
  CellReference cell;
  size_t letters = 0;
  for (; pos < text.size() && IsAsciiLetter(text[pos]) && letters < 4; ++pos, ++letters) {
    cell.column = cell.column * 26 + static_cast<uint32_t>((text[pos] | 0x20) - 'a' + 1);
  }
  if (letters == 0 || cell.column > kMaxColumn) return std::nullopt;
  if (pos < text.size() && text[pos] == '$') ++pos;
  size_t digits = 0;
  for (; pos < text.size() && IsDigit(text[pos]) && digits < 8; ++pos, ++digits) {
    cell.row = cell.row * 10 + static_cast<uint32_t>(text[pos] - '0');
  }
  if (digits == 0 || pos != text.size() || cell.row == 0 || cell.row > kMaxRow) {
    return std::nullopt;
  }
  return cell;
}

std::string ColumnName(uint32_t column) {
  std::string name;
  while (column > 0) {
    uint32_t digit = (column - 1) % 26;
    name.push_back(static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  std::reverse(name.begin(), name.end());
  return name;
}

std::string CellName(CellReference cell) {
  return ColumnName(cell.column) + std::to_string(cell.row);
}

}  // namespace dovrek
