#include "report/workbook/cell_text.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

TEST(CellTextTest, EncodesWhatXmlCannotHoldAndRoundTrips) {
  struct Case {
    std::string text;
    std::string stored;
  } cases[] = {
      {"plain 日本語", "plain 日本語"},
      {"<&>\"'", "<&>\"'"},  // markup is the XML writer's business
      {"a\x01" "b\x0B" "c", "a_x0001_b_x000B_c"},
      {"tab\tlf\n", "tab\tlf\n"},
      {"cr\r\n", "cr_x000D_\n"},
      {std::string("nul\0x", 5), "nul_x0000_x"},
      {"_x0041_", "_x005F_x0041_"},
      {"_x12G4_ _x_ __x0001_", "_x12G4_ _x_ __x005F_x0001_"},
      // A character written as an escape right after "_xHHHH" would close it.
      {std::string("_x0041\0", 7), "_x005F_x0041_x0000_"},
      {"_x0041z", "_x005F_x0041z"},
      {"\xEF\xBF\xBE", "_xFFFE_"},
      {"😀", "😀"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeCellText(c.text), c.stored);
    EXPECT_EQ(DecodeCellText(c.stored), c.text);
  }
}

TEST(CellTextTest, ReplacesInvalidUtf8AndDecodesSurrogateEscapes) {
  // One replacement for each maximal invalid subpart, as everywhere else in the program.
  EXPECT_EQ(EncodeCellText("a\xFF" "b\xE3\x81"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(EncodeCellText("\xE7\xE7\x86\n"), "\xEF\xBF\xBD\xEF\xBF\xBD\n");
  EXPECT_EQ(DecodeCellText("_xD83D__xDE00_"), "😀");
  EXPECT_EQ(DecodeCellText("_xD83D_x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(DecodeCellText("_x00e9_"), "é");
}

TEST(CellTextTest, LimitsToTheSpreadsheetsCellLength) {
  bool cut = true;
  EXPECT_EQ(LimitCellText(std::string(kMaxCellCharacters, 'a'), &cut).size(), kMaxCellCharacters);
  EXPECT_FALSE(cut);
  EXPECT_EQ(LimitCellText(std::string(kMaxCellCharacters + 1, 'a'), &cut).size(), kMaxCellCharacters);
  EXPECT_TRUE(cut);
  std::string japanese;
  for (size_t i = 0; i < kMaxCellCharacters + 5; ++i) japanese += "あ";
  EXPECT_EQ(LimitCellText(japanese, &cut).size(), kMaxCellCharacters * 3);
  std::string astral;  // two UTF-16 units each
  for (size_t i = 0; i < kMaxCellCharacters; ++i) astral += "😀";
  EXPECT_EQ(LimitCellText(astral, &cut).size(), (kMaxCellCharacters / 2) * 4);
}

}  // namespace
}  // namespace dovrek
