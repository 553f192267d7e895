#include "workbook/defined_name_formula.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

TEST(DefinedNameFormulaTest, RenamesEveryReferenceToTheSheet) {
  struct Case {
    const char* formula;
    const char* renamed;  // Sheet1 -> 表紙
  } cases[] = {
      {"Sheet1!$C$5", "'表紙'!$C$5"},
      {"'Sheet1'!$C$5", "'表紙'!$C$5"},
      {"sheet1!$1:$4", "'表紙'!$1:$4"},
      {"Sheet1!$A$1,Sheet2!$B$2,'Sheet1'!B3", "'表紙'!$A$1,Sheet2!$B$2,'表紙'!B3"},
      {"Sheet10!$A$1", "Sheet10!$A$1"},
      {"SUM(Sheet1!A1:A3)&\"Sheet1!A1\"", "SUM('表紙'!A1:A3)&\"Sheet1!A1\""},
      {"'It''s'!A1", "'It''s'!A1"},
      {"$A$1", "$A$1"},
      {"'unclosed", "'unclosed"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RenameSheetInFormula(c.formula, "Sheet1", "表紙"), c.renamed) << c.formula;
  EXPECT_EQ(RenameSheetInFormula("'It''s'!A1", "It's", "a'b"), "'a''b'!A1");
  EXPECT_EQ(RenameSheetInFormula("'ファイル構成'!$C$5", "ファイル構成", "ﾌｧｲﾙ構成"),
            "'ﾌｧｲﾙ構成'!$C$5");
}

TEST(DefinedNameFormulaTest, ParsesOnlyOneCellOnOneSheet) {
  std::optional<SheetCell> cell = ParseSheetCell("'表紙'!$C$5");
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->sheet, "表紙");
  EXPECT_EQ(cell->cell, (CellReference{3, 5}));
  ASSERT_TRUE(ParseSheetCell("=Data!B12"));
  EXPECT_EQ(ParseSheetCell("=Data!B12")->sheet, "Data");
  for (const char* other : {"$C$5", "Sheet1!$C$5:$D$6", "Sheet1!$1:$4", "Sheet1!#REF!", "#REF!",
                            "\"text\"", "Sheet1!$C$5,Sheet1!$D$5", "'open!$C$5"}) {
    EXPECT_FALSE(ParseSheetCell(other)) << other;
  }
}

TEST(CellReferenceTest, ParsesAndNamesCells) {
  EXPECT_EQ(ParseCellReference("B5"), (CellReference{2, 5}));
  EXPECT_EQ(ParseCellReference("$xfd$1048576"), (CellReference{16384, 1048576}));
  for (const char* bad : {"", "B", "5", "B0", "XFE1", "B1048577", "B5 ", "AAAA1", "B$"}) {
    EXPECT_FALSE(ParseCellReference(bad)) << bad;
  }
  EXPECT_EQ(CellName({1, 1}), "A1");
  EXPECT_EQ(CellName({28, 10}), "AB10");
  EXPECT_EQ(CellName({16384, 7}), "XFD7");
}

}  // namespace
}  // namespace dovrek
