#pragma once
// One sheet of a workbook and the cells on it, addressed the way the spreadsheet's automation
// interface does: sheet.Range("TITLE").SetValue(...), sheet.Range("B5").Interior().SetColor(...).
// Every operation throws WorkbookError when it cannot be done.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "workbook/cell_reference.h"
#include "workbook/page_frame.h"

namespace dovrek {

class Workbook;
class Worksheet;

// The tallest row a worksheet can hold, in points.
inline constexpr int32_t kMaxRowHeight = 409;

// The fill (Interior) or the text colour (Font) of one cell.
class CellColor {
 public:
  // Gives the cell a copy of its format with this colour (red + 256 * green + 65536 * blue).
  void SetColor(int32_t color);
  // The colour as ARGB hex text ("FFBEBEBE"); empty when the cell's format sets none.
  std::string Color() const;

 private:
  friend class Cell;
  CellColor(Worksheet* sheet, CellReference cell, bool font)
      : sheet_(sheet), cell_(cell), font_(font) {}
  Worksheet* sheet_;
  CellReference cell_;
  bool font_;
};

// One cell. Cheap to copy; valid while its worksheet lives.
class Cell {
 public:
  // The cell's content as text ("" for an empty cell; a number or formula result as stored).
  std::string Value() const;
  // Stores the text as a string value, never as a formula, whatever it starts with; line feeds
  // are kept. A text over kMaxCellCharacters is cut to that length with a line on standard
  // error. An empty text empties the cell (its format stays). Answers whether the text was cut.
  bool SetValue(std::string_view text);
  // Stores a whole number as a number.
  void SetNumber(int64_t number);
  // Gives the cell the format another cell of the same book has.
  void SetFormatLike(const Cell& other);
  // Sets the height of the cell's row. Heights above kMaxRowHeight are written as
  // kMaxRowHeight; 0 hides the row, as the spreadsheet does; a negative height is refused.
  void SetRowHeight(int32_t points);
  // The row's height in points, or -1 when the row has the sheet's default height.
  double RowHeight() const;
  CellColor Interior() const { return CellColor(sheet_, reference_, false); }
  CellColor Font() const { return CellColor(sheet_, reference_, true); }
  CellReference reference() const { return reference_; }

 private:
  friend class Worksheet;
  Cell(Worksheet* sheet, CellReference reference) : sheet_(sheet), reference_(reference) {}
  Worksheet* sheet_;
  CellReference reference_;
};

class Worksheet {
 public:
  Worksheet(Workbook* book, pugi::xml_node entry, std::string part, bool is_worksheet);
  Worksheet(const Worksheet&) = delete;
  Worksheet& operator=(const Worksheet&) = delete;

  // The sheet's name (its tab caption).
  std::string Name() const;
  // Renames the sheet. Every defined name that refers to it is rewritten to the new name. A
  // name that is empty, over 31 characters, holds one of : \ / ? * [ ], starts or ends with
  // ', or is already another sheet's name is refused.
  void SetName(const std::string& name);
  // Makes this the active (selected) sheet of the workbook.
  void Activate();
  // The cell a defined name or an address ("B5", "$B$5") denotes. A defined name must name one
  // cell on this sheet (a name local to this sheet is preferred over a workbook-wide one); a
  // missing name, a name on another sheet or a name of a range is refused, naming it.
  Cell Range(std::string_view name_or_address);
  // Whether a defined name is seen from this sheet (local or workbook-wide), wherever it refers.
  bool HasDefinedName(std::string_view name) const;
  // Removes the whole row of the cell a defined name denotes (as Range resolves it), and then the
  // name itself; the rows below keep their numbers.
  void DropNamedRow(std::string_view name);
  // Removes a defined name this sheet sees; nothing when there is none.
  void DropDefinedName(std::string_view name);

  // Prints the sheet across the paper rather than down it.
  void SetLandscape();
  // Makes the cell a link to a place in the book, such as "'画面'!A1".
  void AddLink(CellReference cell, const std::string& location);
  // Places a PNG picture of `width` x `height` pixels with its top left corner at the cell's,
  // named `name`. A sheet holds at most one drawing: one that has one already is refused.
  void AddPicture(const std::string& png, CellReference at, int32_t width, int32_t height,
                  const std::string& name);

  bool is_worksheet() const { return is_worksheet_; }

  // What printing needs to know of the sheet. Heights are in points, widths in the
  // spreadsheet's characters.
  // The height a row prints at: its own, 0 when hidden, else the sheet's default.
  double PrintedRowHeight(uint32_t row);
  // The font size of the format a cell has or would get when written.
  double FontSizeAt(CellReference cell);
  // The size of the book's default font, which the column widths are measured in.
  double DefaultFontSize();
  // The width of a column.
  double ColumnWidth(uint32_t column);
  // The room a printed page has for the rows below the print titles (see PageRowSpace), with
  // the sheet's page setup, its printed columns and its print titles as they are now.
  double PageRowSpace();
  // The print titles' rows, {0, 0} when the sheet has none.
  RowSpan PrintTitles() const;
  // Adds a manual page break above the row. Rows are given in increasing order.
  void AddRowBreak(uint32_t row);
  // The pages the sheet prints on: its rows up to the last that holds a cell, placed on pages of
  // PageRowSpace with its manual breaks. A sheet not yet read is read for this and left as
  // stored.
  int32_t PrintedPages();

 private:
  friend class Cell;
  friend class CellColor;
  friend class Workbook;

  pugi::xml_document& Document();
  void Load();
  pugi::xml_node SheetData();
  pugi::xml_node FindRow(uint32_t row);
  pugi::xml_node RowNode(uint32_t row);
  pugi::xml_node FindCell(CellReference cell);
  pugi::xml_node CellNode(CellReference cell);
  uint32_t DefaultFormat(pugi::xml_node row, uint32_t column) const;
  uint32_t CellFormat(CellReference cell);
  void SetCellFormat(CellReference cell, uint32_t format);
  void SetSelected(bool selected);
  void PrepareForSave();
  pugi::xml_node RowBreaks();
  void AddDrawingReference(const std::string& id);
  double PageRowSpaceOf(pugi::xml_node worksheet);

  struct ColumnFormat {
    uint32_t first;
    uint32_t last;
    uint32_t format;
  };

  Workbook* book_;
  pugi::xml_node entry_;  // the <sheet> element in the workbook part
  std::string part_;
  bool is_worksheet_;
  std::unique_ptr<pugi::xml_document> document_;
  bool loaded_ = false;
  std::map<uint32_t, pugi::xml_node> rows_;
  std::vector<ColumnFormat> column_formats_;
};

}  // namespace dovrek
