#pragma once
// How much of a worksheet one printed page holds, from the sheet's own page setup, and the
// printer's placing of rows on pages.

#include <cstdint>
#include <string_view>

#include <pugixml.hpp>

namespace dovrek {

// What the page frame needs to know about a sheet beyond its <worksheet> element.
struct SheetMeasures {
  double default_font_size = 11;  // points, the book's default font
  double printed_width = 0;       // the columns that print, in the spreadsheet's width unit
  int32_t printed_columns = 0;    // how many they are
};

// The height, in the sheet's own points, left on each printed page for the rows below the print
// titles. From the paper (paperSize, or paperWidth and paperHeight, and the orientation), the
// margins (pageMargins; a header or footer reaching past its margin takes room of its own) and
// the scale: a fixed scale, or, with fitToPage, the one that fits the printed columns into
// fitToWidth pages across, in whole percent as the spreadsheet rounds it. Column widths are
// measured as the spreadsheet does with the template's face, ＭＳ Ｐゴシック, whose digit is 6/11
// of an em. A substitute face with wider digits (LibreOffice on Linux takes DejaVu Sans, 0.64 em)
// makes the columns wider, the scale smaller and the page roomier, so the breaks still hold.
// `title_height` is the height of the print titles, repeated on every page.
double PageRowSpace(pugi::xml_node worksheet, const SheetMeasures& measures, double title_height);

// The rows of a print titles formula ("'関数一覧'!$1:$4", possibly after a column part): first
// and last, 1-based; {0, 0} when it names no rows.
struct RowSpan {
  uint32_t first = 0;
  uint32_t last = 0;
};
RowSpan PrintTitleRows(std::string_view formula);

// Places rows on pages as the printer does: a row goes to the next page when it does not fit the
// rest of the current one. A page starts with the first row added.
class Paginator {
 public:
  explicit Paginator(double page_space) : space_(page_space) {}

  // Whether a block of rows `height` tall that is to stay together must start a new page: it
  // does not fit the rest of the current page, and the page holds something already. A block
  // taller than a page thus starts a page of its own.
  bool NeedsNewPage(double height) const { return used_ > 0 && used_ + height > space_; }
  // A manual break: the next row starts a page.
  void Break();
  // Answers whether the row started a new page.
  bool AddRow(double height);
  int32_t pages() const { return pages_; }

 private:
  double space_;
  double used_ = 0;
  int32_t pages_ = 1;
};

}  // namespace dovrek
