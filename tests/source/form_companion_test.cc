#include "source/form_companion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_support.h"

namespace dovrek {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

// Records as a form's companion holds them, each read back, then cut short or pointed past
// the end: a damaged record gives nothing, never bytes beyond the file.
TEST(FormCompanionTest, ReadsEachRecordKindAndRefusesDamagedOnes) {
  const std::string long_text = Bytes({3, 0, 0, 0}) + "abc";
  const std::string short_text = Bytes({2}) + "hi";
  const std::string longer_text = Bytes({0xFF, 3, 0}) + "xyz";
  const std::string list = Bytes({2, 0, 3, 0, 1, 0}) + "a" + Bytes({3, 0}) + "bcd";
  const std::string empty_list = Bytes({0, 0});
  const std::string picture = Bytes({10, 0, 0, 0, 'l', 't', 0, 0, 2, 0, 0, 0}) + "BM";
  const std::string file = long_text + short_text + longer_text + list + empty_list + picture;
  const FormCompanion companion(file);
  uint32_t at = 0;
  EXPECT_EQ(companion.LongText(at), "abc");
  at += long_text.size();
  EXPECT_EQ(companion.ShortText(at), "hi");
  at += short_text.size();
  EXPECT_EQ(companion.ShortText(at), "xyz");
  at += longer_text.size();
  EXPECT_EQ(companion.List(at), (std::vector<std::string_view>{"a", "bcd"}));
  at += list.size();
  EXPECT_EQ(companion.List(at), std::vector<std::string_view>{});
  at += empty_list.size();
  EXPECT_EQ(companion.Picture(at), "BM");

  EXPECT_EQ(companion.Picture(0), std::nullopt);  // no "lt" mark
  EXPECT_EQ(companion.LongText(static_cast<uint32_t>(file.size())), std::nullopt);
  EXPECT_EQ(companion.LongText(0xFFFFFFFF), std::nullopt);
  for (size_t cut = 0; cut < file.size(); ++cut) {
    const FormCompanion short_file(file.substr(0, cut));
    EXPECT_EQ(short_file.LongText(0).has_value(), cut >= long_text.size()) << cut;
    EXPECT_FALSE(short_file.Picture(static_cast<uint32_t>(file.size() - picture.size())));
  }
  const FormCompanion huge_length(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'l', 't', 0, 0, 0xF9, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(huge_length.Picture(0), std::nullopt);
  EXPECT_EQ(huge_length.LongText(0), std::nullopt);
}

// The corpus companions: every picture a source points at is a bitmap, icon or other image,
// and every list reads.
TEST(FormCompanionTest, ReadsTheCorpusPicturesAndLists) {
  const std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  const std::string folder = corpus + "/vb6programs-jp/src/";
  const FormCompanion shortcuts(testing::ReadFileBytes(folder + "shortcuts.frx"));
  for (uint32_t offset : {0x0000u, 0x0C42u, 0x1884u, 0x24C6u}) {
    std::optional<std::string_view> picture = shortcuts.Picture(offset);
    ASSERT_TRUE(picture) << offset;
    EXPECT_EQ(picture->substr(0, 2), "BM") << offset;
  }
  const FormCompanion binary(testing::ReadFileBytes(folder + "binary/binary_main.frx"));
  EXPECT_EQ(binary.LongText(0)->substr(0, 6), "{\\rtf1");
  EXPECT_EQ(binary.List(0xD7), (std::vector<std::string_view>{"8", "16", "24", "32", "48", "64", "128"}));
  EXPECT_EQ(binary.List(0x145), (std::vector<std::string_view>{"*.gb;*.sgb;*.gbc", "*.*"}));
}

}  // namespace
}  // namespace dovrek
