#include "workbook/page_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace dovrek {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kPointsPerMillimetre = 72 / 25.4;
// The digit width of ＭＳ Ｐゴシック, the template's face: 8 pixels at 11 points.
constexpr double kDigitEm = 6.0 / 11.0;

struct Paper {
  double width;
  double height;
};

// The paper sizes of the spreadsheet's numbering that a specification is printed on; any other
// is taken as Letter, the format's default.
Paper PaperOfCode(int code) {
  const double mm = kPointsPerMillimetre;
  switch (code) {
    case 5: return {8.5 * kPointsPerInch, 14 * kPointsPerInch};  // Legal
    case 8: return {297 * mm, 420 * mm};                          // A3
    case 9: return {210 * mm, 297 * mm};                          // A4
    case 11: return {148 * mm, 210 * mm};                         // A5
    case 12: return {257 * mm, 364 * mm};                         // B4 (JIS)
    case 13: return {182 * mm, 257 * mm};                         // B5 (JIS)
    default: return {8.5 * kPointsPerInch, 11 * kPointsPerInch};  // Letter
  }
}

// A length with its unit ("297mm", "11in", "29.7cm"), in points; 0 when unreadable.
double LengthInPoints(std::string_view text) {
  std::string value(text);
  char* end = nullptr;
  double number = std::strtod(value.c_str(), &end);
  std::string_view unit(end);
  if (unit == "mm") return number * kPointsPerMillimetre;
  if (unit == "cm") return number * 10 * kPointsPerMillimetre;
  if (unit == "in") return number * kPointsPerInch;
  if (unit == "pt") return number;
  return 0;
}

Paper PaperOf(pugi::xml_node setup) {
  Paper paper = PaperOfCode(setup.attribute("paperSize").as_int(1));
  double width = LengthInPoints(setup.attribute("paperWidth").value());
  double height = LengthInPoints(setup.attribute("paperHeight").value());
  if (width > 0 && height > 0) paper = {width, height};
  if (std::string_view(setup.attribute("orientation").value()) == "landscape") {
    std::swap(paper.width, paper.height);
  }
  return paper;
}

// The scale the sheet prints at: a fixed one, or the one fitToPage makes of the width.
double ScaleOf(pugi::xml_node worksheet, const SheetMeasures& measures, double paper_width) {
  pugi::xml_node setup = worksheet.child("pageSetup");
  bool fit = worksheet.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").as_bool();
  if (!fit) return std::clamp(setup.attribute("scale").as_double(100), 10.0, 400.0) / 100;
  int32_t pages_across = setup.attribute("fitToWidth").as_int(1);
  // A column is `width` digits of the default font and five pixels (3.75 points) wide.
  double digit = kDigitEm * measures.default_font_size;
  double columns = measures.printed_width * digit + measures.printed_columns * 3.75;
  if (pages_across <= 0 || columns <= 0) return 1;
  double percent = std::floor(100 * pages_across * paper_width / columns);
  return std::clamp(percent, 10.0, 100.0) / 100;
}

}  // namespace

double PageRowSpace(pugi::xml_node worksheet, const SheetMeasures& measures, double title_height) {
  pugi::xml_node setup = worksheet.child("pageSetup");
  pugi::xml_node margins = worksheet.child("pageMargins");
  auto inches = [&](const char* name, double fallback) {
    return margins.attribute(name).as_double(fallback) * kPointsPerInch;
  };
  // A header or footer line takes about one and a half lines of the default font from its
  // margin on; the body starts below whichever reaches further.
  double line = 1.5 * measures.default_font_size;
  pugi::xml_node header_footer = worksheet.child("headerFooter");
  bool header = !std::string_view(header_footer.child_value("oddHeader")).empty();
  bool footer = !std::string_view(header_footer.child_value("oddFooter")).empty();
  double top = std::max(inches("top", 0.75), header ? inches("header", 0.3) + line : 0);
  double bottom = std::max(inches("bottom", 0.75), footer ? inches("footer", 0.3) + line : 0);
  Paper paper = PaperOf(setup);
  double width = paper.width - inches("left", 0.7) - inches("right", 0.7);
  double scale = ScaleOf(worksheet, measures, width);
  return std::max((paper.height - top - bottom) / scale - title_height, 1.0);
}

RowSpan PrintTitleRows(std::string_view formula) {
  // Each part is "sheet!$first:$last"; the row part is the one whose references start with a
  // digit after the "$".
  size_t at = 0;
  while ((at = formula.find('!', at)) != std::string_view::npos) {
    ++at;
    std::string part(formula.substr(at, formula.find(',', at) - at));
    if (part.size() < 2 || part[0] != '$' || !std::isdigit(static_cast<unsigned char>(part[1])))
      continue;
    char* end = nullptr;
    unsigned long first = std::strtoul(part.c_str() + 1, &end, 10);
    unsigned long last = first;
    if (end[0] == ':' && end[1] == '$') last = std::strtoul(end + 2, nullptr, 10);
    if (first > 0 && last >= first) {
      return {static_cast<uint32_t>(first), static_cast<uint32_t>(last)};
    }
  }
  return {};
}

void Paginator::Break() {
  if (used_ > 0) ++pages_;
  used_ = 0;
}

bool Paginator::AddRow(double height) {
  bool new_page = NeedsNewPage(height);
  if (new_page) Break();
  used_ += height;
  return new_page;
}

}  // namespace dovrek
