#include "report/screen_sheets.h"

#include <algorithm>
#include <set>

#include "base/text_helpers.h"
#include "report/screen_item_texts.h"
#include "workbook/wrapped_lines.h"

namespace dovrek {
namespace {

// The template's sheets by position, and the cells of its list of screens.
constexpr int32_t kContentsSheet = 3;
constexpr int32_t kScreenListSheet = 6;
constexpr int32_t kFunctionListSheet = 8;
constexpr char kListTitleCell[] = "B2";
constexpr char kListHeaderCell[] = "B4";
constexpr char kListBodyCell[] = "B5";
constexpr uint32_t kFirstListRow = 5;
constexpr char kContentsPage[] = "CONTENTS_PAGE";

constexpr int32_t kRowHeight = 20;   // a table row of one line, as the template's
constexpr int32_t kLineHeight = 14;  // each further line of a wrapping cell
constexpr uint32_t kTitleRow = 2;
constexpr uint32_t kSummaryRow = 3;
constexpr uint32_t kPictureRow = 5;
constexpr double kPointsPerPixel = 0.75;

// A screen sheet's columns from A: a margin, then the item list's.
const std::vector<double> kColumnWidths = {3, 5, 16, 18, 20, 16, 6, 6, 6, 6, 6, 12, 16, 22, 22};
constexpr const char* kItemHeadings[] = {"No",     "項目名", "表示名", "種別",     "親",
                                         "X",      "Y",      "幅",     "高さ",     "タブ順",
                                         "初期状態", "入力",   "初期値", "イベント"};
constexpr const char* kEventHeadings[] = {"No", "項目名", "イベント", "プロシージャ", "備考"};
constexpr uint32_t kFirstColumn = 2;  // B

// The formats the template gives its list of screens: the title, the table's heading row and
// its body.
struct TableFormats {
  Cell title;
  Cell header;
  Cell body;
};

// A sheet name as a link's location writes it: quoted, its quotes doubled.
std::string LinkTo(const std::string& sheet) {
  std::string location = "'";
  for (char c : sheet) location += c == '\'' ? std::string("''") : std::string(1, c);
  return location + "'!A1";
}

// The name with the characters a sheet name may not hold made "_", at most `most` characters
// long, without a quote at either end.
std::string UsableSheetName(std::string name, size_t most) {
  for (char& c : name) {
    if (std::string_view(":\\/?*[]").find(c) != std::string_view::npos || c == '\'') c = '_';
  }
  while (CountCharacters(name) > most) {
    size_t end = name.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.erase(end);
  }
  return name;
}

// The picture's size in pixels from its PNG header; {0, 0} when it is no PNG.
std::pair<int32_t, int32_t> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(png[at + i]);
    return static_cast<int32_t>(std::min<uint32_t>(value, 1u << 20));
  };
  return {word(16), word(20)};
}

// Writes table rows one after the other, each as tall as its most wrapping cell.
class TableWriter {
 public:
  TableWriter(Worksheet& sheet, const TableFormats& formats, uint32_t row)
      : sheet_(sheet), formats_(formats), row_(row) {}

  void Heading(const std::string& text) {
    for (uint32_t column = kFirstColumn; column < kColumnWidths.size() + 1; ++column) {
      sheet_.Range(CellName({column, row_})).SetFormatLike(formats_.title);
    }
    sheet_.Range(CellName({kFirstColumn, row_})).SetValue(text);
    sheet_.Range(CellName({kFirstColumn, row_})).SetRowHeight(24);
    row_ += 2;
  }

  template <size_t N>
  void Header(const char* const (&headings)[N]) {
    for (size_t i = 0; i < N; ++i) {
      Cell cell = sheet_.Range(CellName({kFirstColumn + static_cast<uint32_t>(i), row_}));
      cell.SetFormatLike(formats_.header);
      cell.SetValue(headings[i]);
    }
    sheet_.Range(CellName({kFirstColumn, row_})).SetRowHeight(kRowHeight);
    ++row_;
  }

  // One row: its number, then its texts.
  void Row(size_t number, const std::vector<std::string>& texts) {
    Cell first = sheet_.Range(CellName({kFirstColumn, row_}));
    first.SetFormatLike(formats_.body);
    first.SetNumber(static_cast<int64_t>(number));
    int32_t lines = 1;
    for (size_t i = 0; i < texts.size(); ++i) {
      uint32_t column = kFirstColumn + 1 + static_cast<uint32_t>(i);
      Cell cell = sheet_.Range(CellName({column, row_}));
      cell.SetFormatLike(formats_.body);
      cell.SetValue(texts[i]);
      // A fifth of the width is held back: a printer's or another spreadsheet's face may set
      // the text wider than the estimate takes it.
      int32_t places = ColumnPlaces(sheet_.ColumnWidth(column) * 4 / 5, sheet_.DefaultFontSize(),
                                    sheet_.FontSizeAt(cell.reference()));
      lines = std::max(lines, WrappedLineCount(texts[i], places));
    }
    first.SetRowHeight(std::min(kMaxRowHeight, kRowHeight + (lines - 1) * kLineHeight));
    ++row_;
  }

  void Skip(uint32_t rows) { row_ += rows; }
  uint32_t row() const { return row_; }

 private:
  Worksheet& sheet_;
  const TableFormats& formats_;
  uint32_t row_;
};

std::string ContainerText(const ScreenControl& control) {
  if (control.Tab < 0) return control.Container;
  return control.Container + " タブ " + std::to_string(control.Tab);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "、") + part;
  return text;
}

std::vector<std::string> ItemTexts(const ScreenControl& c) {
  auto number = [&](int32_t value) { return c.Placed ? std::to_string(value) : std::string(); };
  return {c.ItemName(),          OneLine(!c.Caption.empty() ? c.Caption : c.Label),
          c.Kind,                ContainerText(c),
          number(c.X),           number(c.Y),
          number(c.W),           number(c.H),
          c.TabIndex,            InitialStateText(c),
          InputRulesText(c),     InitialValueText(c),
          Joined(c.Events)};
}

// The picture at the top, then the items, then the event handlers.
void WriteScreenSheet(Worksheet& sheet, const Screen& screen, const std::string& picture,
                      const TableFormats& formats) {
  sheet.SetLandscape();
  for (uint32_t column = kFirstColumn; column < kColumnWidths.size() + 1; ++column) {
    sheet.Range(CellName({column, kTitleRow})).SetFormatLike(formats.title);
  }
  sheet.Range(CellName({kFirstColumn, kTitleRow}))
      .SetValue("画面レイアウト　" + screen.Name + "（" + screen.FileName + "）");
  sheet.Range(CellName({kFirstColumn, kTitleRow})).SetRowHeight(24);
  std::string summary = "画面名：" + OneLine(screen.Caption);
  if (!screen.Description.empty()) summary += "　　概要：" + OneLine(screen.Description);
  if (!screen.Note.empty()) summary += "　　" + screen.Note;
  sheet.Range(CellName({kFirstColumn, kSummaryRow})).SetValue(summary);

  uint32_t row = kPictureRow;
  auto [width, height] = PngSize(picture);
  if (width > 0 && height > 0) {
    sheet.AddPicture(picture, {kFirstColumn, kPictureRow}, width, height, screen.Name);
    const int32_t rows = static_cast<int32_t>(height * kPointsPerPixel / kRowHeight) + 1;
    for (int32_t i = 0; i < rows; ++i) {
      sheet.Range(CellName({1, row + i})).SetRowHeight(kRowHeight);
    }
    row += rows;
  }
  TableWriter table(sheet, formats, row + 1);
  table.Heading("画面項目一覧");
  table.Header(kItemHeadings);
  for (size_t i = 0; i < screen.Controls.size(); ++i) table.Row(i + 1, ItemTexts(screen.Controls[i]));
  table.Skip(1);
  table.Heading("イベント一覧");
  table.Header(kEventHeadings);
  for (size_t i = 0; i < screen.Events.size(); ++i) {
    const ScreenEvent& e = screen.Events[i];
    table.Row(i + 1, {e.Control, e.Event, e.Procedure, e.OnScreen ? "" : "画面にない項目"});
  }
}

// One row of the list of screens per screen, in the template's style, linking to its sheet.
void WriteScreenList(Worksheet& list, const TableFormats& formats, const std::vector<Screen>& screens,
                     const std::vector<std::string>& names) {
  TableWriter table(list, formats, kFirstListRow);
  for (size_t i = 0; i < screens.size() && table.row() <= kMaxRow; ++i) {
    const uint32_t row = table.row();
    table.Row(i + 1, {OneLine(screens[i].Caption), screens[i].FileName,
                      OneLine(screens[i].Description)});
    list.AddLink({kFirstColumn + 1, row}, LinkTo(names[i]));
    list.AddLink({kFirstColumn + 2, row}, LinkTo(names[i]));
  }
}

// The contents gain a row per screen sheet below the template's own rows, in the style of its
// last one, when the template marks the column of page numbers.
void WriteContentsRows(Worksheet& contents, int32_t template_sheets,
                       const std::vector<Screen>& screens, const std::vector<std::string>& names) {
  if (!contents.HasDefinedName(kContentsPage)) return;
  const uint32_t first = contents.Range(kContentsPage).reference().row;
  const uint32_t last = first + static_cast<uint32_t>(template_sheets) - 1;
  for (size_t i = 0; i < screens.size(); ++i) {
    const uint32_t row = last + 1 + static_cast<uint32_t>(i);
    if (row > kMaxRow) break;
    for (uint32_t column = kFirstColumn; column <= kFirstColumn + 3; ++column) {
      contents.Range(CellName({column, row})).SetFormatLike(contents.Range(CellName({column, last})));
    }
    contents.Range(CellName({kFirstColumn, row})).SetNumber(template_sheets + static_cast<int64_t>(i) + 1);
    contents.Range(CellName({kFirstColumn + 1, row})).SetValue(names[i]);
    contents.Range(CellName({kFirstColumn + 2, row}))
        .SetValue(screens[i].Caption.empty() ? screens[i].FileName
                                             : OneLine(screens[i].Caption) + "（" + screens[i].FileName + "）");
    contents.Range(CellName({kFirstColumn, row})).SetRowHeight(kRowHeight);
    contents.AddLink({kFirstColumn + 1, row}, LinkTo(names[i]));
  }
}

}  // namespace

std::vector<std::string> ScreenSheetNames(Workbook& book, const std::vector<Screen>& screens) {
  std::set<std::string> used;  // in small letters, as the spreadsheet compares sheet names
  for (int32_t i = 1; i <= book.SheetCount(); ++i) used.insert(AsciiSmall(book.Sheets(i).Name()));
  std::vector<std::string> names;
  for (const Screen& screen : screens) {
    std::string base = screen.Name.empty() ? screen.FileName : screen.Name;
    std::string name = UsableSheetName(base, 31);
    if (name.empty()) name = "画面";
    for (int n = 2; used.count(AsciiSmall(name)); ++n) {
      std::string suffix = "(" + std::to_string(n) + ")";
      name = UsableSheetName(base, 31 - suffix.size()) + suffix;
    }
    used.insert(AsciiSmall(name));
    names.push_back(name);
  }
  return names;
}

void WriteScreenSheets(Workbook& book, const std::vector<Screen>& screens,
                       const std::vector<std::string>& pictures) {
  Worksheet& list = book.Worksheets(kScreenListSheet);
  const TableFormats formats = {list.Range(kListTitleCell), list.Range(kListHeaderCell),
                                list.Range(kListBodyCell)};
  const int32_t template_sheets = book.WorksheetCount();
  const std::vector<std::string> names = ScreenSheetNames(book, screens);
  Worksheet* after = &book.Worksheets(kFunctionListSheet);
  for (size_t i = 0; i < screens.size(); ++i) {
    Worksheet& sheet = book.AddWorksheet(*after, names[i], list, kColumnWidths);
    WriteScreenSheet(sheet, screens[i], i < pictures.size() ? pictures[i] : std::string(), formats);
    after = &sheet;
  }
  WriteScreenList(list, formats, screens, names);
  WriteContentsRows(book.Worksheets(kContentsSheet), template_sheets, screens, names);
}

}  // namespace dovrek
