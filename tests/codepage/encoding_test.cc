#include "codepage/encoding.h"

#include <gtest/gtest.h>

#include "codepage/text_codec.h"

namespace dovrek {
namespace {

TEST(EncodingTest, NamesAndReadsEveryEncoding) {
  struct Case {
    Encoding encoding;
    const char* name;
    const char* other_case;
  } cases[] = {
      {Encoding::kCp932, "cp932", "CP932"},
      {Encoding::kUtf8, "utf-8", "UTF-8"},
      {Encoding::kCp1252, "cp1252", "Cp1252"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodingName(c.encoding), c.name);
    EXPECT_EQ(EncodingNamed(c.name), c.encoding);
    EXPECT_EQ(EncodingNamed(c.other_case), c.encoding);
  }
  for (const char* name : {"", "auto", "utf8", "shift_jis", " cp932"}) {
    EXPECT_EQ(EncodingNamed(name), std::nullopt) << name;
  }
}

TEST(EncodingTest, DecodesEachEncodingToUtf8) {
  struct Case {
    Encoding encoding;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {Encoding::kCp932, "\x95\x5C\xB1", "表ｱ"},
      {Encoding::kUtf8, "\xC3\xA9\xFF", "é\uFFFD"},
      {Encoding::kCp1252, "\xE9\x80\x81", "é€\uFFFD"},
  };
  for (const Case& c : cases) {
    std::string out = "x";
    AppendDecoded(c.bytes, c.encoding, &out);
    EXPECT_EQ(out, "x" + c.utf8) << EncodingName(c.encoding);
  }
}

}  // namespace
}  // namespace dovrek
