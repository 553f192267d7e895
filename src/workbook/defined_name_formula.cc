#include "workbook/defined_name_formula.h"

#include "base/text_helpers.h"

namespace dovrek {
namespace {

// Characters that may stand in an unquoted sheet name: ASCII letters, digits, "_", "." and
// anything outside ASCII.
bool IsNameCharacter(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '.' || c == '\\';
}

// Reads a quoted name starting at formula[*pos] == '\''; answers the unquoted name and leaves
// *pos after the closing quote. nullopt (pos unchanged) when the quote is never closed.
std::optional<std::string> ReadQuotedName(std::string_view formula, size_t* pos) {
  std::string name;
  for (size_t i = *pos + 1; i < formula.size(); ++i) {
    if (formula[i] != '\'') {
      name.push_back(formula[i]);
    } else if (i + 1 < formula.size() && formula[i + 1] == '\'') {
      name.push_back('\'');
      ++i;
    } else {
      *pos = i + 1;
      return name;
    }
  }
  return std::nullopt;
}

// Reads a string literal "..." ("" inside) starting at formula[*pos]; leaves *pos after it.
void SkipStringLiteral(std::string_view formula, size_t* pos) {
  size_t i = *pos + 1;
  while (i < formula.size()) {
    if (formula[i] == '"' && (i + 1 >= formula.size() || formula[i + 1] != '"')) {
      ++i;
      break;
    }
    i += formula[i] == '"' ? 2 : 1;
  }
  *pos = i;
}

// Reads a sheet prefix at *pos: a quoted or plain name followed by "!". On success answers the
// name and leaves *pos after the "!".
std::optional<std::string> ReadSheetPrefix(std::string_view formula, size_t* pos) {
  size_t i = *pos;
  std::string name;
  if (i < formula.size() && formula[i] == '\'') {
    std::optional<std::string> quoted = ReadQuotedName(formula, &i);
    if (!quoted) return std::nullopt;
    name = *quoted;
  } else {
    while (i < formula.size() && IsNameCharacter(formula[i])) name.push_back(formula[i++]);
  }
  if (name.empty() || i >= formula.size() || formula[i] != '!') return std::nullopt;
  *pos = i + 1;
  return name;
}

}  // namespace

std::string QuoteSheetName(std::string_view sheet_name) {
  std::string quoted = "'";
  for (char c : sheet_name) {
    quoted.push_back(c);
    if (c == '\'') quoted.push_back('\'');
  }
  quoted.push_back('\'');
  return quoted;
}

std::string RenameSheetInFormula(std::string_view formula, std::string_view old_name,
                                 std::string_view new_name) {
  std::string out;
  size_t pos = 0;
  while (pos < formula.size()) {
    char c = formula[pos];
    size_t start = pos;
    if (c == '"') {
      SkipStringLiteral(formula, &pos);
    } else if (c == '\'' || IsNameCharacter(c)) {
      std::optional<std::string> sheet = ReadSheetPrefix(formula, &pos);
      if (sheet && EqualsNoCase(*sheet, old_name)) {
        out += QuoteSheetName(new_name) + "!";
        continue;
      }
      if (!sheet) {
        // Not a sheet prefix: copy the whole word (or the unclosed quote) and go on after it.
        pos = start + 1;
        if (c != '\'') {
          while (pos < formula.size() && IsNameCharacter(formula[pos])) ++pos;
        }
      }
    } else {
      ++pos;
    }
    out.append(formula.substr(start, pos - start));
  }
  return out;
}

std::optional<SheetCell> ParseSheetCell(std::string_view formula) {
  size_t pos = 0;
  if (!formula.empty() && formula[0] == '=') pos = 1;
  std::optional<std::string> sheet = ReadSheetPrefix(formula, &pos);
  if (!sheet) return std::nullopt;
  std::optional<CellReference> cell = ParseCellReference(formula.substr(pos));
  if (!cell) return std::nullopt;
  return SheetCell{*sheet, *cell};
}

}  // namespace dovrek
