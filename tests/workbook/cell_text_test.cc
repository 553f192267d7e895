#include "workbook/cell_text.h"

#include <gtest/gtest.h>

#include "codepage/text_codec.h"

namespace dovrek {
namespace {

TEST(CellTextTest, EncodesWhatXmlCannotHoldAndRoundTrips) {
  struct Case {
    std::string text;
    std::string stored;
  } cases[] = {
      {"plain 日本語", "plain 日本語"},
      {"<&>\"'", "<&>\"'"},  // markup is the XML writer's business
      {"a\x01"
       "b\x0B"
       "c",
       "a_x0001_b_x000B_c"},
      {"tab\tlf\n", "tab\tlf\n"},
      {"cr\r\n", "cr_x000D_\n"},
      {std::string("nul\0x", 5), "nul_x0000_x"},
      {"_x0041_", "_x005F_x0041_"},
      {"_x12G4_ _x_ __x0001_", "_x005F_x12G4_ _x_ __x005F_x0001_"},
      // A character written as an escape right after "_xHHHH" would close it.
      {std::string("_x0041\0", 7), "_x005F_x0041_x0000_"},
      {"_x0041z", "_x005F_x0041z"},
      {"_x00_ _xg _x", "_x005F_x00_ _xg _x"},  // shorter forms some readers decode too
      {"\xEF\xBF\xBE", "_xFFFE_"},
      {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},  // a real U+FFFD, not a replaced byte
      {"😀", "😀"},
      {"\xED\x9F\xBF\xEE\x80\x80", "\xED\x9F\xBF\xEE\x80\x80"},  // U+D7FF, U+E000
      {"日本語の説明\x01です", "日本語の説明_x0001_です"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeCellText(c.text), c.stored);
    EXPECT_EQ(DecodeCellText(c.stored), c.text);
  }
}

TEST(CellTextTest, ReplacesInvalidUtf8AndDecodesSurrogateEscapes) {
  // One U+FFFD for each maximal invalid subpart, as the text codec sanitizes.
  const std::string kFffd = "\xEF\xBF\xBD";
  EXPECT_EQ(EncodeCellText("a\xFF"
                           "b\xE3\x81"),
            "a" + kFffd + "b" + kFffd);
  EXPECT_EQ(EncodeCellText("\xE7\xE7\x86\n"), kFffd + kFffd + "\n");
  EXPECT_EQ(EncodeCellText("\xD9\xE1\x9B\xC2"), kFffd + kFffd + kFffd);  // found by fuzzing
  EXPECT_EQ(EncodeCellText("\xE0\x80\xED\xA0\x80\xF4\x90"),
            kFffd + kFffd + kFffd + kFffd + kFffd + kFffd + kFffd);
  // A literal "_xHHHH" before a character that is itself escaped: found by fuzzing.
  EXPECT_EQ(EncodeCellText(std::string("_xefff\0", 7)), "_x005F_xefff_x0000_");
  EXPECT_EQ(DecodeCellText(EncodeCellText(std::string("_xefff\0", 7))), std::string("_xefff\0", 7));
  EXPECT_EQ(DecodeCellText(EncodeCellText("_x0041__x0042")), "_x0041__x0042");
  for (const char* bytes :
       {"\xD9\xE1\x9B\xC2", "\xF0\x9F\x98", "\xE0\x80\xED\xA0\x80\xF4\x90", "x\xC0\xAFy"}) {
    std::string sanitized;
    AppendSanitizedUtf8(bytes, &sanitized);
    EXPECT_EQ(DecodeCellText(EncodeCellText(bytes)), sanitized) << bytes;
  }
  EXPECT_EQ(DecodeCellText("_xD83D__xDE00_"), "😀");
  EXPECT_EQ(DecodeCellText("_xD83D_x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(DecodeCellText("_x00e9_"), "é");
}

TEST(CellTextTest, LimitsToTheSpreadsheetsCellLength) {
  bool cut = true;
  EXPECT_EQ(LimitCellText(std::string(kMaxCellCharacters, 'a'), &cut).size(), kMaxCellCharacters);
  EXPECT_FALSE(cut);
  EXPECT_EQ(LimitCellText(std::string(kMaxCellCharacters + 1, 'a'), &cut).size(),
            kMaxCellCharacters);
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
