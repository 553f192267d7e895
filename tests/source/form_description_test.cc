#include "source/form_description.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text_helpers.h"
#include "source/property_text.h"
#include "test_support.h"

namespace dovrek {
namespace {

constexpr char kForm[] =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Object = \"*\\A..\\Ctl\\Ctl.vbp\"\r\n"
    "Begin VB.Form frmMain \r\n"
    "   BorderStyle     =   3  'Fixed Dialog\r\n"
    "   Caption         =   \"Say \"\"hi\"\"\"\r\n"
    "   BeginProperty Font \r\n"
    "      Name            =   \"MS UI Gothic\"\r\n"
    "      BeginProperty Inner {0BE35203-8F91-11CE-9DE3-00AA004BB851} \r\n"
    "         Size            =   9\r\n"
    "      EndProperty\r\n"
    "   EndProperty\r\n"
    "   Begin VB.Frame fra \r\n"
    "      Caption         =   \"Group\"\r\n"
    "      Begin VB.CommandButton cmd \r\n"
    "         Index           =   2\r\n"
    "         Tab(0).ControlEnabled=   -1  'True\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Shortcut        =   ^O\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n";

TEST(FormDescriptionTest, ReadsObjectsNestedWithTheirPropertiesAndComponents) {
  const FormDescription form = ReadFormDescription(kForm);
  EXPECT_TRUE(form.Complete);
  EXPECT_EQ(form.Version, "5.00");
  ASSERT_EQ(form.Components.size(), 2u);
  EXPECT_EQ(form.Components[0], (ComponentReference{"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0",
                                                    "MSCOMCTL.OCX"}));
  EXPECT_EQ(form.Components[1], (ComponentReference{"*\\A..\\Ctl\\Ctl.vbp", ""}));
  ASSERT_EQ(form.Objects.size(), 4u);
  const FormObject& window = form.Objects[0];
  EXPECT_EQ(window.QualifiedClass(), "VB.Form");
  EXPECT_EQ(window.Name, "frmMain");
  EXPECT_EQ(window.Parent, -1);
  EXPECT_EQ(window.Properties,
            (std::vector<FormProperty>{{"BorderStyle", "3  'Fixed Dialog"},
                                       {"Caption", "\"Say \"\"hi\"\"\""},
                                       {"Font.Name", "\"MS UI Gothic\""},
                                       {"Font.Inner.Size", "9"}}));
  EXPECT_EQ(form.Objects[1].Parent, 0);
  EXPECT_EQ(form.Objects[2].Name, "cmd");
  EXPECT_EQ(form.Objects[2].Parent, 1);
  EXPECT_EQ(form.Objects[2].Property("tab(0).controlenabled"), "-1  'True");
  EXPECT_EQ(form.Objects[3].Parent, 0);
  EXPECT_EQ(form.Objects[3].Property("Shortcut"), "^O");
}

TEST(FormDescriptionTest, StopsAtCodeAndMarksACutDescription) {
  struct Case {
    const char* text;
    size_t objects;
    bool complete;
  };
  const Case cases[] = {
      {"Attribute VB_Name = \"basMain\"\nSub Main()\nEnd Sub\n", 0, false},
      {"", 0, false},
      {"VERSION 5.00\nBegin VB.Form f\n  Begin VB.Label l\n", 2, false},  // cut short
      {"Begin VB.Form f\nBegin VB.Label l\nAttribute VB_Name = \"f\"\n", 2, false},
      {"Begin Form f\nEnd\nBegin VB.Form g\nEnd\n", 1, true},  // no library; one window only
      {"Begin VB.Form f\n\tCaption = \"a\"\n  End  \n", 1, true},
  };
  for (const Case& c : cases) {
    const FormDescription form = ReadFormDescription(c.text);
    EXPECT_EQ(form.Objects.size(), c.objects) << c.text;
    EXPECT_EQ(form.Complete, c.complete) << c.text;
  }
}

TEST(FormDescriptionTest, ReadsPropertyValuesAsTheSourceWritesThem) {
  struct Case {
    const char* source;
    std::optional<std::string> text;
    std::optional<double> number;
    std::optional<CompanionReference> reference;
  };
  const Case cases[] = {
      {"\"OK\"", "OK", std::nullopt, std::nullopt},
      {"\"a \"\"b\"\" 'c\"   'comment", "a \"b\" 'c", std::nullopt, std::nullopt},
      {"3  'Fixed Dialog", std::nullopt, 3, std::nullopt},
      {"-1  'True", std::nullopt, -1, std::nullopt},
      {"120.5", std::nullopt, 120.5, std::nullopt},
      {"&H8000000F&", std::nullopt, 2147483663.0, std::nullopt},
      {"&H00FF00&", std::nullopt, 65280, std::nullopt},
      {"^O", std::nullopt, std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt, std::nullopt},
      {"\"main.frx\":0C42", std::nullopt, std::nullopt, CompanionReference{"main.frx", 0xC42, false}},
      {"$\"main.frx\":17302", std::nullopt, std::nullopt, CompanionReference{"main.frx", 0x17302, true}},
      {"\"main.frx\":zz", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuotedText(c.source), c.text) << c.source;
    EXPECT_EQ(NumberValue(c.source), c.number) << c.source;
    EXPECT_EQ(CompanionReferenceOf(c.source), c.reference) << c.source;
  }
}

// Every form-like source of the corpus: one object per Begin line of its description, and a
// description that ends where the code starts.
TEST(FormDescriptionTest, ReadsEveryCorpusWindow) {
  const std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    const std::string ext = AsciiSmall(entry.path().extension().string());
    if (ext != ".frm" && ext != ".ctl" && ext != ".pag" && ext != ".dob") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    if (text.find("Begin ") == std::string::npos) continue;  // an empty or damaged member
    size_t begins = 0;
    std::istringstream lines(text.substr(0, text.find("\nAttribute ")));
    for (std::string line; std::getline(lines, line);) {
      const size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos && line.compare(first, 6, "Begin ") == 0) ++begins;
    }
    const FormDescription form = ReadFormDescription(text);
    EXPECT_TRUE(form.Complete) << entry.path();
    EXPECT_EQ(form.Objects.size(), begins) << entry.path();
    ++files;
  }
  EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace dovrek
