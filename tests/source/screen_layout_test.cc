#include "source/screen_layout.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

struct Expected {
  const char* name;
  PixelRect rect;
  int32_t tab = -1;
  bool shown = true;
};

struct LayoutCase {
  const char* what;
  const char* source;
  std::vector<Expected> expected;
};

// Each control's place on the window's client area, in pixels (15 twips each). Positions are
// twips in every container, whatever its ScaleMode says.
TEST(ScreenLayoutTest, PlacesControlsFromTheirContainersInnerCorners) {
  const LayoutCase cases[] = {
      {"a frame holding a picture box holding a button (3D border: 2 pixels inside)",
       "Begin VB.Form f\n ClientWidth = 6000\n ClientHeight = 3000\n"
       " Begin VB.Frame fra\n  Left = 120\n  Top = 240\n  Width = 3000\n  Height = 1995\n"
       "  Begin VB.PictureBox pic\n   Left = 150\n   Top = 300\n   Width = 1500\n   Height = 900\n"
       "   Begin VB.CommandButton cmd\n    Left = 0\n    Top = 15\n    Width = 600\n    Height = 300\n"
       "   End\n  End\n End\nEnd\n",
       {{"f", {0, 0, 400, 200}}, {"fra", {8, 16, 200, 133}}, {"pic", {18, 36, 100, 60}},
        {"cmd", {20, 39, 40, 20}}}},
      {"a flat picture box scaled in pixels, a borderless one in points",
       "Begin VB.Form f\n ClientWidth = 1500\n ClientHeight = 1500\n"
       " Begin VB.PictureBox px\n  Appearance = 0 'Flat\n  ScaleMode = 3 'Pixel\n"
       "  Left = 150\n  Top = 150\n  Width = 900\n  Height = 900\n"
       "  Begin VB.Label l\n   Left = 150\n   Top = 75\n   Width = 300\n   Height = 150\n  End\n End\n"
       " Begin VB.PictureBox pt\n  BorderStyle = 0 'None\n  ScaleMode = 2 'Point\n"
       "  Left = 0\n  Top = 0\n  Width = 1500\n  Height = 1500\n"
       "  Begin VB.Label m\n   Left = 600\n   Top = 300\n   Width = 300\n   Height = 150\n  End\n End\n"
       "End\n",
       {{"px", {10, 10, 60, 60}}, {"l", {21, 16, 20, 10}}, {"m", {40, 20, 20, 10}}}},
      {"a user scale with its origin moved and its height counting upwards",
       "Begin VB.Form f\n ClientWidth = 3000\n ClientHeight = 3000\n"
       " Begin VB.PictureBox pic\n  ScaleMode = 0 'User\n  ScaleLeft = -10\n  ScaleTop = 50\n"
       "  ScaleWidth = 100\n  ScaleHeight = -50\n  Left = 0\n  Top = 0\n  Width = 1560\n  Height = 810\n"
       "  Begin VB.Shape s\n   Left = 150\n   Top = 150\n   Width = 300\n   Height = 150\n  End\n End\nEnd\n",
       {{"pic", {0, 0, 104, 54}}, {"s", {12, 12, 20, 10}}}},
      {"a form scaled in pixels, a line and a control array",
       "Begin VB.Form f\n ScaleMode = 3 'Pixel\n ClientWidth = 3000\n ClientHeight = 3000\n"
       " Begin VB.Line ln\n  X1 = 1500\n  Y1 = 300\n  X2 = 150\n  Y2 = 300\n End\n"
       " Begin VB.OptionButton opt\n  Index = 3\n  Left = 75\n  Top = 90\n  Width = 1050\n  Height = 300\n End\n"
       " Begin VB.Timer tmr\n  Left = 0\n  Top = 0\n End\n"
       " Begin VB.Menu mnu\n  Begin VB.Menu mnuOpen\n  End\n End\nEnd\n",
       {{"ln", {10, 20, 90, 0}}, {"opt(3)", {5, 6, 70, 20}}, {"tmr", {0, 0, 28, 28}}}},
      {"a tab control showing its second tab, with controls on three tabs",
       "Begin VB.Form f\n ClientWidth = 6000\n ClientHeight = 4500\n"
       " Begin TabDlg.SSTab tabs\n  Left = 150\n  Top = 150\n  Width = 4500\n  Height = 3000\n  Tab = 1\n"
       "  Tab(0).Control(0)= \"lblA\"\n  Tab(1).Control(0)= \"fraB\"\n  Tab(2).Control(0)= \"cmdC(0)\"\n"
       "  Begin VB.Label lblA\n   Left = -74700\n   Top = 450\n   Width = 300\n   Height = 300\n  End\n"
       "  Begin VB.Frame fraB\n   Left = 300\n   Top = 450\n   Width = 1500\n   Height = 1500\n"
       "   Begin VB.TextBox txt\n    Left = 150\n    Top = 150\n    Width = 300\n    Height = 300\n   End\n  End\n"
       "  Begin VB.CommandButton cmdC\n   Index = 0\n   Left = -74550\n   Top = 450\n"
       "   Width = 300\n   Height = 300\n  End\n End\nEnd\n",
       {{"tabs", {10, 10, 300, 200}}, {"lblA", {30, 40, 20, 20}, 0, false},
        {"fraB", {30, 40, 100, 100}, 1, true}, {"txt", {40, 50, 20, 20}, 1, true},
        {"cmdC(0)", {40, 40, 20, 20}, 2, false}}},
  };
  for (const LayoutCase& c : cases) {
    const FormDescription form = ReadFormDescription(c.source);
    const std::vector<ObjectPlace> places = LayOutScreen(form);
    ASSERT_EQ(places.size(), form.Objects.size()) << c.what;
    for (const Expected& e : c.expected) {
      size_t i = 0;
      while (i < form.Objects.size() && ItemName(form.Objects[i]) != e.name) ++i;
      ASSERT_LT(i, form.Objects.size()) << c.what << ": " << e.name;
      EXPECT_TRUE(places[i].Placed) << c.what << ": " << e.name;
      EXPECT_EQ(places[i].Rect, e.rect) << c.what << ": " << e.name;
      EXPECT_EQ(places[i].Tab, e.tab) << c.what << ": " << e.name;
      EXPECT_EQ(places[i].Shown, e.shown) << c.what << ": " << e.name;
    }
  }
}

TEST(ScreenLayoutTest, MenusAndHostileNumbersHaveNoPlaceOrAHeldOne) {
  const FormDescription form = ReadFormDescription(
      "Begin VB.Form f\n ClientWidth = -3000\n Begin VB.Menu m\n End\n Begin VB.Label l\n  Left = 1e300\n"
      "  Width = -1e300\n End\n Begin VB.PictureBox p\n  ScaleMode = 0\n  ScaleWidth = 0\n"
      "  Width = 150\n  Begin VB.Label k\n   Left = 5\n  End\n End\n"
      " Begin TabDlg.SSTab t\n  Tab = 1e300\n  Tab(0).Control(0) = \"n\"\n"
      "  Begin VB.Label n\n   Index = -1e300\n  End\n End\nEnd\n");
  const std::vector<ObjectPlace> places = LayOutScreen(form);
  EXPECT_EQ(places[0].Rect.W, 0);
  EXPECT_FALSE(places[1].Placed);
  EXPECT_TRUE(places[2].Placed);
  EXPECT_LE(places[2].Rect.X, 100000000);
  EXPECT_TRUE(places[4].Placed);
  EXPECT_EQ(ItemName(form.Objects[6]), "n(-2147483648)");
  EXPECT_FALSE(places[6].Shown);
}

}  // namespace
}  // namespace dovrek
