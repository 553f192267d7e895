#include "workbook/workbook.h"

#include <gtest/gtest.h>
#include <zip.h>

#include "workbook/template_fixture.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::TempDir;
using testing::TemplateVariant;

std::unique_ptr<Workbook> SaveAndReopen(Workbook& book, const TempDir& dir) {
  std::string path = dir.Native("out.xlsx");
  book.SaveAs(path);
  return Workbook::Open(path);
}

std::string PartOf(const std::string& path, const std::string& part) {
  return *ZipPackage::Read(path).Find(part);
}

std::string OpenFailure(const std::string& path) {
  try {
    Workbook::Open(path);
  } catch (const WorkbookError& failure) {
    return failure.what();
  }
  return "";
}

TEST(WorkbookTest, RenamingKeepsDefinedNamesAndSavesAsWorkbook) {
  TempDir dir;
  auto book = Workbook::Open(BuiltTemplatePath());
  ASSERT_EQ(book->WorksheetCount(), 8);
  Worksheet& files = book->Worksheets(5);
  EXPECT_EQ(files.Name(), "ファイル構成");
  files.SetName("ﾌｧｲﾙ構成");
  files.Range("FORM").SetValue("frmA.frm");
  auto again = SaveAndReopen(*book, dir);
  EXPECT_EQ(again->Worksheets(5).Name(), "ﾌｧｲﾙ構成");
  EXPECT_EQ(again->Worksheets(5).Range("FORM").Value(), "frmA.frm");
  EXPECT_EQ(again->Worksheets(5).Range("C5").Value(), "frmA.frm");
  EXPECT_EQ(again->DefinedName("CLASS", 4), "'ﾌｧｲﾙ構成'!$C$7");
  EXPECT_EQ(again->Worksheets(1).Range("B5").Value(),
            "システム名");  // shared string of the template
  std::string types = PartOf(dir.Native("out.xlsx"), "[Content_Types].xml");
  EXPECT_NE(types.find("spreadsheetml.sheet.main+xml"), std::string::npos);
  EXPECT_EQ(types.find("template.main+xml"), std::string::npos);
}

TEST(WorkbookTest, RefusesBadSheetNamesAndNamesElsewhere) {
  auto book = Workbook::Open(BuiltTemplatePath());
  Worksheet& cover = book->Worksheets(1);
  for (const char* bad :
       {"", "a/b", "x[1]", "'quoted",
        "三十二文字の名前三十二文字の名前三十二文字の名前三十二文字の名前", "目次"}) {
    EXPECT_THROW(cover.SetName(bad), WorkbookError) << bad;
  }
  EXPECT_EQ(cover.Name(), "表紙");
  cover.SetName("表紙");  // its own name again is fine
  try {
    book->Worksheets(4).Range("TITLE");
    FAIL();
  } catch (const WorkbookError& failure) {
    EXPECT_NE(std::string(failure.what()).find("TITLE"), std::string::npos);
    EXPECT_NE(std::string(failure.what()).find("表紙"), std::string::npos);
  }
  EXPECT_THROW(book->Worksheets(8).Range("NOSUCH"), WorkbookError);
  EXPECT_THROW(book->Worksheets(8).Range("_xlnm.Print_Titles"), WorkbookError);  // a range
  EXPECT_THROW(book->Worksheets(9), WorkbookError);
  EXPECT_THROW(book->Worksheets(0), WorkbookError);
}

TEST(WorkbookTest, CellsAndRowsStayInOrderAndKeepTheirFormat) {
  TempDir dir;
  auto book = Workbook::Open(BuiltTemplatePath());
  Worksheet& sheet = book->Worksheets(8);
  for (const char* address : {"B10", "D3", "A3", "B3", "C7", "B1"})
    sheet.Range(address).SetValue(address);
  sheet.Range("B10").Interior().SetColor(12500670);
  sheet.Range("B10").Font().SetColor(16777215);
  sheet.Range("B11").Font().SetColor(255);
  auto again = SaveAndReopen(*book, dir);
  Worksheet& read = again->Worksheets(8);
  for (const char* address : {"B10", "D3", "A3", "B3", "C7", "B1"})
    EXPECT_EQ(read.Range(address).Value(), address);
  EXPECT_EQ(read.Range("B10").Interior().Color(), "FFBEBEBE");
  EXPECT_EQ(read.Range("B10").Font().Color(), "FFFFFFFF");
  EXPECT_EQ(read.Range("B11").Font().Color(), "FFFF0000");
  std::string xml = PartOf(dir.Native("out.xlsx"), "xl/worksheets/sheet8.xml");
  size_t r1 = xml.find("<row r=\"1\""), r3 = xml.find("<row r=\"3\""),
         r4 = xml.find("<row r=\"4\"");
  size_t r7 = xml.find("<row r=\"7\""), r10 = xml.find("<row r=\"10\"");
  EXPECT_TRUE(r1 < r3 && r3 < r4 && r4 < r7 && r7 < r10) << xml;
  size_t a3 = xml.find("r=\"A3\""), b3 = xml.find("r=\"B3\""), d3 = xml.find("r=\"D3\"");
  EXPECT_TRUE(a3 < b3 && b3 < d3) << xml;
  // New cells in column B take the column's wrapping format; the grey copy keeps its alignment.
  std::string styles = PartOf(dir.Native("out.xlsx"), "xl/styles.xml");
  EXPECT_NE(xml.find("<c r=\"B3\" s=\"8\""), std::string::npos) << xml;
  EXPECT_EQ(styles.find("wrapText") != std::string::npos, true);
  size_t xfs = styles.find("<cellXfs count=\"");
  EXPECT_EQ(styles.substr(xfs, 20),
            "<cellXfs count=\"17\">");  // 14 + fill copy + its font copy + red
}

TEST(WorkbookTest, RowHeightsAreCappedAndZeroHides) {
  auto book = Workbook::Open(BuiltTemplatePath());
  Worksheet& sheet = book->Worksheets(8);
  sheet.Range("B5").SetRowHeight(56);
  sheet.Range("B7").SetRowHeight(40 * 14);
  sheet.Range("B9").SetRowHeight(0);
  EXPECT_EQ(sheet.Range("B5").RowHeight(), 56);
  EXPECT_EQ(sheet.Range("B7").RowHeight(), 409);
  EXPECT_EQ(sheet.Range("B9").RowHeight(), 0);
  EXPECT_EQ(sheet.Range("B100").RowHeight(), -1);
  EXPECT_THROW(sheet.Range("B5").SetRowHeight(-1), WorkbookError);
}

TEST(WorkbookTest, ValuesAreTextNeverFormulas) {
  TempDir dir;
  auto book = Workbook::Open(BuiltTemplatePath());
  Worksheet& sheet = book->Worksheets(8);
  const std::string hostile = "=HYPERLINK(\"http://x\",\"<&>\")\x01\x0B _x0041_ \r\n end ";
  sheet.Range("B5").SetValue(hostile);
  sheet.Range("B6").SetValue("+1");
  sheet.Range("B4").SetValue("");
  auto again = SaveAndReopen(*book, dir);
  EXPECT_EQ(again->Worksheets(8).Range("B5").Value(), hostile);
  EXPECT_EQ(again->Worksheets(8).Range("B6").Value(), "+1");
  EXPECT_EQ(again->Worksheets(8).Range("B4").Value(), "");
  std::string xml = PartOf(dir.Native("out.xlsx"), "xl/worksheets/sheet8.xml");
  EXPECT_EQ(xml.find("<f>"), std::string::npos);
  EXPECT_EQ(xml.find('\x01'), std::string::npos);
}

TEST(WorkbookTest, ActivatingSelectsOneTab) {
  TempDir dir;
  auto book = Workbook::Open(BuiltTemplatePath());
  book->Worksheets(8).Activate();
  SaveAndReopen(*book, dir);
  std::string out = dir.Native("out.xlsx");
  EXPECT_NE(PartOf(out, "xl/workbook.xml").find("activeTab=\"7\""), std::string::npos);
  EXPECT_NE(PartOf(out, "xl/worksheets/sheet8.xml").find("tabSelected=\"1\""), std::string::npos);
  EXPECT_EQ(PartOf(out, "xl/worksheets/sheet1.xml").find("tabSelected"), std::string::npos);
}

TEST(WorkbookTest, RefusesPackagesItCannotUse) {
  TempDir dir;
  std::string legacy = dir.Write(
      "old.xlt", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
  EXPECT_NE(OpenFailure(legacy).find("旧形式"), std::string::npos);
  EXPECT_NE(OpenFailure(dir.Write("text.xlt", "not a zip")).find("text.xlt"), std::string::npos);
  EXPECT_NE(OpenFailure(dir.Native("missing.xlt")).find("missing.xlt"), std::string::npos);
  std::string no_book = TemplateVariant(dir, "nobook.xlt", "_rels/.rels", "officeDocument\" Target",
                                        "other\" Target");
  EXPECT_NE(OpenFailure(no_book).find("workbook.xml"), std::string::npos);
  std::string broken =
      TemplateVariant(dir, "broken.xlt", "xl/workbook.xml", "</sheets>", "</sheet>");
  EXPECT_NE(OpenFailure(broken).find("xl/workbook.xml"), std::string::npos);
}

TEST(WorkbookTest, RefusesAPartThatInflatesPastTheBound) {
  TempDir dir;
  ZipPackage package = ZipPackage::Read(BuiltTemplatePath());
  package.Put("xl/media/huge.bin", std::string(kMaxPartBytes + 1, '\0'));
  std::string bomb = dir.Write("bomb.xlt", package.ToBytes());
  EXPECT_LT(std::filesystem::file_size(bomb), 1u << 20);
  EXPECT_NE(OpenFailure(bomb).find("huge.bin"), std::string::npos);
}

}  // namespace
}  // namespace dovrek
