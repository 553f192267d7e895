#include "source/screen_builder.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

constexpr char kForm[] =
    "Begin VB.Form frmOrder\n Caption = $\"frmOrder.frx\":0000\n ClientWidth = 6000\n"
    " ClientHeight = 3000\n"
    " Begin VB.Label lblCode\n  Caption = \"コード\"\n  Left = 150\n  Top = 150\n"
    "  Width = 900\n  Height = 300\n End\n"
    " Begin VB.TextBox txtCode\n  Left = 1200\n  Top = 120\n  Width = 1500\n  Height = 360\n"
    "  Text = \"frmOrder.frx\":0007\n End\n"
    " Begin VB.Label lblNote\n  Caption = \"備考\"\n  Left = 3000\n  Top = 150\n"
    "  Width = 900\n  Height = 300\n End\n"
    " Begin imText6Ctl.imText txtNote\n  Left = 3000\n  Top = 600\n  Width = 1500\n"
    "  Height = 360\n  Caption = \"frmOrder.frx\":0010\n End\n"
    " Begin VB.CommandButton cmdOK\n  Index = 0\n  Caption = \"OK\"\n  Left = 150\n  Top = 1200\n"
    "  Width = 900\n  Height = 360\n End\n"
    " Begin VB.CommandButton cmdOK\n  Index = 1\n  Caption = \"取消\"\n  Left = 1200\n  Top = 1200\n"
    "  Width = 900\n  Height = 360\n End\n"
    "End\n";

std::string Latin(std::string_view bytes) { return std::string(bytes); }

struct BuildCase {
  const char* what;
  std::optional<std::string> companion;
  const char* caption;
  const char* text;
  const char* note;
};

TEST(ScreenBuilderTest, BuildsControlsLabelsAndEventsFromTheDescriptionAndItsCompanion) {
  const std::string good = std::string("\x03\x00\x00\x00" "Abc", 7) + std::string("\x02" "hi", 3);
  const BuildCase cases[] = {
      {"with its companion", good, "Abc", "hi", ""},
      {"without its companion", std::nullopt, "", "", "(.frx なし)"},
      {"with a companion cut short", good.substr(0, 5), "", "", "(.frx 破損)"},
  };
  const FormDescription form = ReadFormDescription(kForm);
  for (const BuildCase& c : cases) {
    std::optional<FormCompanion> companion;
    if (c.companion) companion.emplace(*c.companion);
    ScreenSource source{"frmOrder.frm", &form, companion ? &*companion : nullptr, Latin,
                        {"Form_Load", "cmdOK_Click", "txtCode_Change", "lstGone_Click",
                         "Save_Data", "Calc"},
                        "注文入力"};
    const Screen screen = BuildScreen(source);
    EXPECT_EQ(screen.Caption, c.caption) << c.what;
    EXPECT_EQ(screen.Note, c.note) << c.what;
    ASSERT_EQ(screen.Controls.size(), 6u);
    EXPECT_EQ(screen.Controls[1].Text, c.text) << c.what;
    EXPECT_EQ(screen.Controls[3].Caption, "") << "another library's saved state is no text";
  }
  const Screen screen = BuildScreen({"frmOrder.frm", &form, nullptr, Latin,
                                     {"Form_Load", "cmdOK_Click", "txtCode_Change",
                                      "lstGone_Click", "Save_Data", "Calc"},
                                     ""});
  EXPECT_EQ(screen.Name, "frmOrder");
  EXPECT_EQ(screen.Kind, "Form");
  EXPECT_EQ(screen.Width, 400);
  EXPECT_EQ(screen.Controls[1].Label, "コード");  // on the same line, to its left
  EXPECT_EQ(screen.Controls[3].Label, "備考");    // just above it
  EXPECT_EQ(screen.Controls[1].Kind, "テキストボックス");
  EXPECT_EQ(screen.Controls[3].Kind, "imText6Ctl.imText");
  EXPECT_EQ(screen.Controls[4].Events, std::vector<std::string>{"Click"});
  EXPECT_EQ(screen.Controls[5].Events, std::vector<std::string>{"Click"});
  EXPECT_EQ(screen.Events,
            (std::vector<ScreenEvent>{{"Form", "Load", "Form_Load", true},
                                      {"cmdOK", "Click", "cmdOK_Click", true},
                                      {"txtCode", "Change", "txtCode_Change", true},
                                      {"lstGone", "Click", "lstGone_Click", false}}));
}

}  // namespace
}  // namespace dovrek
