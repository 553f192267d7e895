#include "app/startup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "app/command_line.h"
#include "app/usage_text.h"
#include "os/native_path.h"
#include "test_support.h"

namespace dovrek {
namespace {

TEST(StartupTest, FindsTheTemplateBesideTheProgramThenInShare) {
  testing::TempDir dir;
  std::string bin = dir.Native("bin");
  std::filesystem::create_directories(bin);
  EXPECT_EQ(TemplatePathFor(bin), bin + "/Dovrek.xlt");  // neither: the expected place
  dir.Write("share/dovrek/Dovrek.xlt", "x");
  EXPECT_EQ(TemplatePathFor(bin), bin + "/../share/dovrek/Dovrek.xlt");
  dir.Write("bin/Dovrek.xlt", "x");
  EXPECT_EQ(TemplatePathFor(bin), bin + "/Dovrek.xlt");
}

TEST(StartupTest, KeepsSettingsBesideAWritableProgramFolder) {
  testing::TempDir dir;
  std::string bin = dir.Native("bin");
  std::filesystem::create_directories(bin);
  EXPECT_EQ(SettingsPathFor(bin, nullptr, "/nowhere"), bin + "/Dovrek.ini");
}

// Choosing the path creates nothing (a batch run never writes settings), and without HOME or
// XDG_CONFIG_HOME there is no "/.config" to fall back on.
TEST(StartupTest, ChoosingTheSettingsPathCreatesNoFolder) {
  testing::TempDir dir;
  std::string unwritable = dir.Native("missing-bin");
  EXPECT_EQ(SettingsPathFor(unwritable, dir.Native("config").c_str(), nullptr),
            dir.Native("config/dovrek/Dovrek.ini"));
  EXPECT_EQ(SettingsPathFor(unwritable, nullptr, dir.Native("home").c_str()),
            dir.Native("home/.config/dovrek/Dovrek.ini"));
  EXPECT_EQ(SettingsPathFor(unwritable, "", ""), unwritable + "/Dovrek.ini");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Both manual pages, the English and the Japanese, name every option of the usage text.
TEST(StartupTest, EveryOptionOfTheUsageIsInTheManualPages) {
  for (Language language : {Language::kEnglish, Language::kJapanese}) {
    const std::string name = language == Language::kJapanese ? "dovrek.ja.1" : "dovrek.1";
    std::ifstream man(std::string(DOVREK_SOURCE_DIR) + "/docs/" + name);
    ASSERT_TRUE(man) << name;
    std::string page((std::istreambuf_iterator<char>(man)), std::istreambuf_iterator<char>());
    // The manual writes "-" as "\-" (roff).
    std::string plain = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    std::string usage = UsageText(language);
    std::set<std::string> options;
    std::regex option(R"(--?[a-z][a-z-]*)");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
         it != std::sregex_iterator(); ++it) {
      options.insert(it->str());
    }
    EXPECT_GT(options.size(), 15u);
    for (const std::string& option_name : options) {
      EXPECT_NE(plain.find(option_name), std::string::npos) << option_name << " is missing from "
                                                            << name;
    }
  }
}

}  // namespace
}  // namespace dovrek
