#include "workbook/worksheet.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "workbook/workbook_messages.h"
#include "base/text_helpers.h"
#include "workbook/cell_text.h"
#include "workbook/defined_name_formula.h"
#include "workbook/package_parts.h"
#include "workbook/picture_part.h"
#include "workbook/shared_strings.h"
#include "workbook/style_table.h"
#include "workbook/workbook.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

// Worksheet children that come before <sheetData>, in schema order.
constexpr const char* kBeforeSheetData[] = {"sheetPr", "dimension", "sheetViews", "sheetFormatPr",
                                            "cols"};

void SetAttribute(pugi::xml_node node, const char* name, const char* value) {
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  attribute.set_value(value);
}

void RemoveChildren(pugi::xml_node node) {
  while (node.first_child()) node.remove_child(node.first_child());
}

// Worksheet children that come after <hyperlinks>, in schema order.
constexpr const char* kAfterHyperlinks[] = {
    "printOptions", "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks",
    "customProperties", "cellWatches", "ignoredErrors", "smartTags", "drawing", "legacyDrawing",
    "legacyDrawingHF", "picture", "oleObjects", "controls", "webPublishItems", "tableParts",
    "extLst"};

// Worksheet children that come after <pageSetup>, in schema order.
constexpr const char* kAfterPageSetup[] = {
    "headerFooter", "rowBreaks", "colBreaks", "customProperties", "cellWatches", "ignoredErrors",
    "smartTags", "drawing", "legacyDrawing", "legacyDrawingHF", "picture", "oleObjects",
    "controls", "webPublishItems", "tableParts", "extLst"};

// Worksheet children that come after <drawing>, in schema order.
constexpr const char* kAfterDrawing[] = {"legacyDrawing", "legacyDrawingHF", "picture",
                                         "oleObjects",    "controls",        "webPublishItems",
                                         "tableParts",    "extLst"};

// A child made in its place among the children that must follow it, or at the end.
template <size_t N>
pugi::xml_node ChildBefore(pugi::xml_node parent, const char* name, const char* const (&after)[N]) {
  if (pugi::xml_node found = parent.child(name)) return found;
  for (const char* next : after) {
    if (pugi::xml_node found = parent.child(next)) return parent.insert_child_before(name, found);
  }
  return parent.append_child(name);
}

// Worksheet children that come after <rowBreaks>, in schema order.
constexpr const char* kAfterRowBreaks[] = {
    "colBreaks", "customProperties", "cellWatches", "ignoredErrors", "smartTags",
    "drawing",   "legacyDrawing",    "legacyDrawingHF", "picture", "oleObjects",
    "controls",  "webPublishItems",  "tableParts",  "extLst"};

// A spreadsheet without a default row height of its own gives rows 15 points.
double DefaultRowHeight(pugi::xml_node worksheet) {
  return worksheet.child("sheetFormatPr").attribute("defaultRowHeight").as_double(15);
}

double HeightOfRow(pugi::xml_node row, double default_height) {
  if (row.attribute("hidden").as_bool()) return 0;
  return row.attribute("ht").as_double(default_height);
}

double WidthOfColumn(pugi::xml_node worksheet, uint32_t column) {
  for (pugi::xml_node col : worksheet.child("cols").children("col")) {
    if (column >= col.attribute("min").as_uint() && column <= col.attribute("max").as_uint()) {
      return col.attribute("hidden").as_bool() ? 0 : col.attribute("width").as_double(0);
    }
  }
  pugi::xml_node format = worksheet.child("sheetFormatPr");
  // Without a default width the spreadsheet pads the base width by about five pixels.
  return format.attribute("defaultColWidth")
      .as_double(format.attribute("baseColWidth").as_double(8) + 0.71);
}

// The row numbers of a sheet's rows, as stored or counted on from the row before.
template <typename Visit>
void ForEachRow(pugi::xml_node worksheet, Visit visit) {
  uint32_t previous = 0;
  for (pugi::xml_node row : worksheet.child("sheetData").children("row")) {
    previous = row.attribute("r").as_uint(previous + 1);
    visit(previous, row);
  }
}

// The rows a manual break starts a page with, in increasing order.
std::vector<uint32_t> PageStartingRows(pugi::xml_node worksheet) {
  std::vector<uint32_t> rows;
  for (pugi::xml_node brk : worksheet.child("rowBreaks").children("brk")) {
    rows.push_back(brk.attribute("id").as_uint() + 1);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace

// ---- CellColor ----

void CellColor::SetColor(int32_t color) {
  StyleTable& styles = sheet_->book_->Styles();
  uint32_t format = sheet_->CellFormat(cell_);
  std::string argb = ArgbFromColorValue(color);
  sheet_->SetCellFormat(
      cell_, font_ ? styles.WithFontColor(format, argb) : styles.WithFillColor(format, argb));
}

std::string CellColor::Color() const {
  StyleTable& styles = sheet_->book_->Styles();
  uint32_t format = sheet_->CellFormat(cell_);
  return font_ ? styles.FontColor(format) : styles.FillColor(format);
}

// ---- Cell ----

std::string Cell::Value() const {
  pugi::xml_node cell = sheet_->FindCell(reference_);
  if (!cell) return "";
  std::string_view type = cell.attribute("t").value();
  if (type == "inlineStr") return StringItemText(cell.child("is"));
  std::string stored = cell.child("v").text().get();
  if (type == "s")
    return sheet_->book_->Strings().At(
        static_cast<uint32_t>(std::strtoul(stored.c_str(), nullptr, 10)));
  return type == "str" ? DecodeCellText(stored) : stored;
}

bool Cell::SetValue(std::string_view text) {
  bool cut = false;
  const std::string_view kept = LimitCellText(text, &cut);
  if (cut) {
    sheet_->book_->Warn(
        CellTextCutWarning(sheet_->Name(), CellName(reference_), kMaxCellCharacters));
  }
  pugi::xml_node cell = sheet_->CellNode(reference_);
  RemoveChildren(cell);
  cell.remove_attribute("t");
  if (kept.empty()) return cut;
  SetAttribute(cell, "t", "inlineStr");
  pugi::xml_node t = cell.append_child("is").append_child("t");
  // Most texts are stored as they stand, without a copy of their own.
  std::string encoded;
  std::string_view stored = kept;
  if (KeptAsItStands(kept) < kept.size()) stored = encoded = EncodeCellText(kept);
  if (stored.front() == ' ' || stored.back() == ' ' || stored.front() == '\n' ||
      stored.back() == '\n' || stored.front() == '\t' || stored.back() == '\t') {
    t.append_attribute("xml:space").set_value("preserve");
  }
  t.text().set(stored.data(), stored.size());
  return cut;
}

void Cell::SetNumber(int64_t number) {
  pugi::xml_node cell = sheet_->CellNode(reference_);
  RemoveChildren(cell);
  cell.remove_attribute("t");
  cell.append_child("v").text().set(std::to_string(number).c_str());
}

void Cell::SetFormatLike(const Cell& other) {
  sheet_->SetCellFormat(reference_, other.sheet_->CellFormat(other.reference_));
}

void Cell::SetRowHeight(int32_t points) {
  if (points < 0) {
    throw WorkbookError(UnsettableRowHeight(reference_.row, points));
  }
  pugi::xml_node row = sheet_->RowNode(reference_.row);
  SetAttribute(row, "ht", std::to_string(std::min(points, kMaxRowHeight)).c_str());
  SetAttribute(row, "customHeight", "1");
  if (points == 0) {
    SetAttribute(row, "hidden", "1");
  } else {
    row.remove_attribute("hidden");
  }
}

double Cell::RowHeight() const {
  pugi::xml_node row = sheet_->FindRow(reference_.row);
  pugi::xml_attribute height = row.attribute("ht");
  return height ? height.as_double() : -1;
}

// ---- Worksheet ----

Worksheet::Worksheet(Workbook* book, pugi::xml_node entry, std::string part, bool is_worksheet)
    : book_(book), entry_(entry), part_(std::move(part)), is_worksheet_(is_worksheet) {}

std::string Worksheet::Name() const { return entry_.attribute("name").value(); }

void Worksheet::SetName(const std::string& name) { book_->RenameSheet(*this, name); }

void Worksheet::Activate() { book_->ActivateSheet(*this); }

Cell Worksheet::Range(std::string_view name_or_address) {
  if (!is_worksheet_)
    throw WorkbookError(book_->source_ + ": シート「" + Name() +
                        "」はワークシートではありません。");
  Load();
  if (std::optional<CellReference> cell = ParseCellReference(name_or_address))
    return Cell(this, *cell);
  std::string name(name_or_address);
  std::optional<std::string> formula = book_->DefinedName(name, book_->IndexOf(*this));
  if (!formula) {
    throw WorkbookError(book_->source_ + ": 定義名 " + name +
                        " がテンプレートにありません (シート「" + Name() + "」)。");
  }
  std::optional<SheetCell> target = ParseSheetCell(*formula);
  if (!target) {
    throw WorkbookError(book_->source_ + ": 定義名 " + name + " (" + *formula +
                        ") が 1 つのセルを指していません。");
  }
  if (!EqualsNoCase(target->sheet, Name())) {
    throw WorkbookError(book_->source_ + ": 定義名 " + name + " がシート「" + Name() +
                        "」ではなくシート「" + target->sheet + "」を指しています。");
  }
  return Cell(this, target->cell);
}

bool Worksheet::HasDefinedName(std::string_view name) const {
  return book_->DefinedName(std::string(name), book_->IndexOf(*this)).has_value();
}

void Worksheet::DropNamedRow(std::string_view name) {
  uint32_t row = Range(name).reference().row;
  if (pugi::xml_node node = FindRow(row)) {
    node.parent().remove_child(node);
    rows_.erase(row);
  }
  DropDefinedName(name);
}

void Worksheet::DropDefinedName(std::string_view name) {
  book_->RemoveDefinedName(std::string(name), book_->IndexOf(*this));
}

pugi::xml_document& Worksheet::Document() {
  if (!document_) document_ = book_->ParsePart(part_);
  return *document_;
}

// Parses the sheet once and indexes its rows, so that finding or adding a row is a map lookup
// and the common case, a row after the last one, appends.
void Worksheet::Load() {
  if (loaded_) return;
  loaded_ = true;
  pugi::xml_node data = SheetData();
  uint32_t previous = 0;
  for (pugi::xml_node row : data.children("row")) {
    uint32_t number = row.attribute("r").as_uint(previous + 1);
    if (number <= previous || number > kMaxRow) {
      throw WorkbookError(book_->source_ + ": シート「" + Name() + "」の行番号 " +
                          std::to_string(number) + " が不正です。");
    }
    SetAttribute(row, "r", std::to_string(number).c_str());
    rows_.emplace_hint(rows_.end(), number, row);
    previous = number;
  }
  for (pugi::xml_node col : Document().child("worksheet").child("cols").children("col")) {
    column_formats_.push_back({col.attribute("min").as_uint(), col.attribute("max").as_uint(),
                               col.attribute("style").as_uint()});
  }
}

pugi::xml_node Worksheet::SheetData() {
  pugi::xml_node sheet = Document().child("worksheet");
  if (!sheet)
    throw WorkbookError(book_->source_ + ": シート「" + Name() + "」のパーツ " + part_ +
                        " がワークシートではありません。");
  pugi::xml_node data = sheet.child("sheetData");
  if (data) return data;
  pugi::xml_node after;
  for (const char* name : kBeforeSheetData) {
    if (pugi::xml_node found = sheet.child(name)) after = found;
  }
  return after ? sheet.insert_child_after("sheetData", after) : sheet.prepend_child("sheetData");
}

pugi::xml_node Worksheet::FindRow(uint32_t row) {
  Load();
  auto found = rows_.find(row);
  return found == rows_.end() ? pugi::xml_node() : found->second;
}

pugi::xml_node Worksheet::RowNode(uint32_t row) {
  if (pugi::xml_node existing = FindRow(row)) return existing;
  pugi::xml_node data = SheetData();
  auto next = rows_.upper_bound(row);
  pugi::xml_node node = next == rows_.end() ? data.append_child("row")
                                            : data.insert_child_before("row", next->second);
  node.append_attribute("r").set_value(row);
  rows_.emplace_hint(next, row, node);
  return node;
}

pugi::xml_node Worksheet::FindCell(CellReference cell) {
  pugi::xml_node row = FindRow(cell.row);
  std::string name = CellName(cell);
  for (pugi::xml_node c : row.children("c")) {
    if (EqualsNoCase(c.attribute("r").value(), name)) return c;
  }
  return {};
}

// The cell's node, made where it belongs in its row (cells stand in column order) and given the
// row's or the column's format, as the spreadsheet does for a new cell.
pugi::xml_node Worksheet::CellNode(CellReference cell) {
  pugi::xml_node row = RowNode(cell.row);
  pugi::xml_node next;
  uint32_t previous = 0;
  for (pugi::xml_node c : row.children("c")) {
    std::optional<CellReference> at = ParseCellReference(c.attribute("r").value());
    uint32_t column = at ? at->column : previous + 1;
    SetAttribute(c, "r", CellName({column, cell.row}).c_str());
    if (column == cell.column) return c;
    if (column > cell.column) {
      next = c;
      break;
    }
    previous = column;
  }
  pugi::xml_node node = next ? row.insert_child_before("c", next) : row.append_child("c");
  node.append_attribute("r").set_value(CellName(cell).c_str());
  if (uint32_t format = DefaultFormat(row, cell.column))
    node.append_attribute("s").set_value(format);
  row.remove_attribute("spans");
  return node;
}

uint32_t Worksheet::DefaultFormat(pugi::xml_node row, uint32_t column) const {
  if (row.attribute("customFormat").as_bool()) return row.attribute("s").as_uint();
  for (const ColumnFormat& range : column_formats_) {
    if (column >= range.first && column <= range.last) return range.format;
  }
  return 0;
}

uint32_t Worksheet::CellFormat(CellReference cell) {
  pugi::xml_node node = FindCell(cell);
  if (node) return node.attribute("s").as_uint();
  return DefaultFormat(FindRow(cell.row), cell.column);
}

void Worksheet::SetCellFormat(CellReference cell, uint32_t format) {
  SetAttribute(CellNode(cell), "s", std::to_string(format).c_str());
}

void Worksheet::SetSelected(bool selected) {
  pugi::xml_node root = Document().document_element();
  pugi::xml_node views = root.child("sheetViews");
  if (!views && selected) {
    pugi::xml_node after;
    for (const char* name : {"sheetPr", "dimension"}) {
      if (pugi::xml_node found = root.child(name)) after = found;
    }
    views = after ? root.insert_child_after("sheetViews", after) : root.prepend_child("sheetViews");
  }
  if (!views) return;
  pugi::xml_node view = views.child("sheetView");
  if (!view) {
    view = views.append_child("sheetView");
    view.append_attribute("workbookViewId").set_value(0);
  }
  for (pugi::xml_node each : views.children("sheetView")) each.remove_attribute("tabSelected");
  if (selected) view.prepend_attribute("tabSelected").set_value(1);
}

// The <dimension> hint would no longer cover the cells written; it is optional, so it goes.
void Worksheet::PrepareForSave() {
  if (pugi::xml_node sheet = Document().child("worksheet")) sheet.remove_child("dimension");
}

// ---- Printing ----

double Worksheet::PrintedRowHeight(uint32_t row) {
  return HeightOfRow(FindRow(row), DefaultRowHeight(Document().child("worksheet")));
}

double Worksheet::FontSizeAt(CellReference cell) {
  return book_->Styles().FontSize(CellFormat(cell));
}

double Worksheet::DefaultFontSize() { return book_->Styles().DefaultFontSize(); }

double Worksheet::ColumnWidth(uint32_t column) {
  return WidthOfColumn(Document().child("worksheet"), column);
}

RowSpan Worksheet::PrintTitles() const {
  std::optional<std::string> titles =
      book_->DefinedName("_xlnm.Print_Titles", book_->IndexOf(*this));
  return titles ? PrintTitleRows(*titles) : RowSpan{};
}

double Worksheet::PageRowSpace() { return PageRowSpaceOf(Document().child("worksheet")); }

double Worksheet::PageRowSpaceOf(pugi::xml_node worksheet) {
  SheetMeasures measures;
  measures.default_font_size = DefaultFontSize();
  uint32_t last_column = 0;
  ForEachRow(worksheet, [&](uint32_t, pugi::xml_node row) {
    if (pugi::xml_node cell = row.last_child(); cell && std::string_view(cell.name()) == "c") {
      if (std::optional<CellReference> at = ParseCellReference(cell.attribute("r").value())) {
        last_column = std::max(last_column, at->column);
      }
    }
  });
  for (uint32_t column = 1; column <= last_column; ++column) {
    measures.printed_width += WidthOfColumn(worksheet, column);
    ++measures.printed_columns;
  }
  RowSpan titles = PrintTitles();
  double title_height = 0;
  double default_height = DefaultRowHeight(worksheet);
  ForEachRow(worksheet, [&](uint32_t number, pugi::xml_node row) {
    if (number >= titles.first && number <= titles.last) {
      title_height += HeightOfRow(row, default_height) - default_height;
    }
  });
  if (titles.first > 0) title_height += (titles.last - titles.first + 1) * default_height;
  return dovrek::PageRowSpace(worksheet, measures, title_height);
}

pugi::xml_node Worksheet::RowBreaks() {
  return ChildBefore(Document().child("worksheet"), "rowBreaks", kAfterRowBreaks);
}

void Worksheet::AddRowBreak(uint32_t row) {
  pugi::xml_node breaks = RowBreaks();
  pugi::xml_node brk = breaks.append_child("brk");
  brk.append_attribute("id").set_value(row - 1);
  brk.append_attribute("max").set_value(kMaxColumn - 1);
  brk.append_attribute("man").set_value(1);
  uint32_t count = breaks.attribute("count").as_uint() + 1;
  for (const char* name : {"count", "manualBreakCount"}) {
    if (!breaks.attribute(name)) breaks.append_attribute(name);
    breaks.attribute(name).set_value(count);
  }
}

void Worksheet::SetLandscape() {
  pugi::xml_node root = Document().child("worksheet");
  pugi::xml_node setup = ChildBefore(root, "pageSetup", kAfterPageSetup);
  SetAttribute(setup, "orientation", "landscape");
}

void Worksheet::AddLink(CellReference cell, const std::string& location) {
  Load();
  pugi::xml_node links = ChildBefore(Document().child("worksheet"), "hyperlinks", kAfterHyperlinks);
  pugi::xml_node link = links.append_child("hyperlink");
  link.append_attribute("ref").set_value(CellName(cell).c_str());
  link.append_attribute("location").set_value(location.c_str());
}

void Worksheet::AddPicture(const std::string& png, CellReference at, int32_t width,
                           int32_t height, const std::string& name) {
  if (Document().child("worksheet").child("drawing")) {
    throw WorkbookError(book_->source_ + ": シート「" + Name() + "」には図がすでにあります。");
  }
  book_->AddPicture(*this, png, PictureDrawingXml(at, width, height, name));
}

void Worksheet::AddDrawingReference(const std::string& id) {
  pugi::xml_node root = Document().child("worksheet");
  if (!root.attribute("xmlns:r")) root.append_attribute("xmlns:r").set_value(kRelationshipsNamespace);
  ChildBefore(root, "drawing", kAfterDrawing).append_attribute("r:id").set_value(id.c_str());
}

int32_t Worksheet::PrintedPages() {
  std::unique_ptr<pugi::xml_document> stored;
  if (!document_) stored = book_->ParsePart(part_);
  pugi::xml_node worksheet = (stored ? *stored : Document()).child("worksheet");
  double default_height = DefaultRowHeight(worksheet);
  RowSpan titles = PrintTitles();
  uint32_t last = 0;
  ForEachRow(worksheet, [&](uint32_t number, pugi::xml_node row) {
    if (row.child("c")) last = number;
  });
  std::vector<uint32_t> starts = PageStartingRows(worksheet);
  auto next_start = starts.begin();
  Paginator pages(PageRowSpaceOf(worksheet));
  auto place = [&](uint32_t row, double height) {
    if (row >= titles.first && row <= titles.last) return;
    while (next_start != starts.end() && *next_start < row) ++next_start;
    if (next_start != starts.end() && *next_start == row) pages.Break();
    pages.AddRow(height);
  };
  uint32_t expected = 1;
  ForEachRow(worksheet, [&](uint32_t number, pugi::xml_node row) {
    if (number > last) return;
    for (; expected < number; ++expected) place(expected, default_height);
    place(number, HeightOfRow(row, default_height));
    expected = number + 1;
  });
  return pages.pages();
}

}  // namespace dovrek
