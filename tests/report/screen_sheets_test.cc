// The screens in the workbook: the sheet names they get, the list of screens with its links,
// each screen's sheet with its picture as a real drawing part, and the item list's texts.

#include <gtest/gtest.h>

#include <regex>

#include "draw/screen_picture.h"
#include "os/native_path.h"
#include "report/screen_item_texts.h"
#include "report/screen_sheets.h"
#include "workbook/template_fixture.h"
#include "workbook/workbook.h"
#include "workbook/zip_package.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::TempDir;

Screen NamedScreen(const std::string& name, const std::string& file) {
  Screen screen;
  screen.Name = name;
  screen.FileName = file;
  return screen;
}

TEST(ScreenSheetsTest, SheetNamesAreUsableAndUnique) {
  auto book = Workbook::Open(BuiltTemplatePath());
  const std::string long_name(40, 'x');
  std::vector<Screen> screens = {NamedScreen("frmMain", "frmMain.frm"),
                                 NamedScreen("FRMMAIN", "b.frm"),
                                 NamedScreen("目次", "c.frm"),
                                 NamedScreen("a:b/c[1]'", "d.frm"),
                                 NamedScreen(long_name, "e.frm"),
                                 NamedScreen(long_name, "f.frm"),
                                 NamedScreen("", "ctlGrid.ctl")};
  EXPECT_EQ(ScreenSheetNames(*book, screens),
            (std::vector<std::string>{"frmMain", "FRMMAIN(2)", "目次(2)", "a_b_c_1__",
                                      std::string(31, 'x'), std::string(28, 'x') + "(2)",
                                      "ctlGrid.ctl"}));
}

ScreenControl Control(const std::string& cls, std::vector<ScreenProperty> properties,
                      std::string text = "", std::vector<std::string> items = {}) {
  ScreenControl control;
  control.Class = cls;
  control.Properties = std::move(properties);
  control.Text = std::move(text);
  control.Items = std::move(items);
  return control;
}

TEST(ScreenSheetsTest, ItemTextsSayWhatTheSourceSetsAwayFromTheDefault) {
  struct Case {
    ScreenControl control;
    std::string state, input, value;
  } cases[] = {
      {Control("VB.TextBox", {}), "", "", ""},
      {Control("VB.TextBox",
               {{"Visible", "0   'False"}, {"Enabled", "0   'False"}, {"Locked", "-1  'True"},
                {"MaxLength", "10"}, {"IMEMode", "4  'ひらがな"}, {"PasswordChar", "\"*\""},
                {"Alignment", "1  'Right Justify"}},
               "初期"),
       "非表示・無効・ロック", "最大 10 文字・IME ひらがな・パスワード文字 *・右揃え", "初期"},
      {Control("VB.CheckBox", {{"Value", "1  'Checked"}, {"Alignment", "1"}}), "", "", "オン"},
      {Control("VB.OptionButton", {{"Value", "-1  'True"}}), "", "", "選択"},
      {Control("VB.ComboBox", {{"Locked", "0   'False"}, {"IMEMode", "99"}}, "", {"東京", "大阪"}),
       "", "", "東京、大阪"},
      {Control("VB.HScrollBar", {{"Value", "50"}}), "", "", "50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control.Class);
    EXPECT_EQ(InitialStateText(c.control), c.state);
    EXPECT_EQ(InputRulesText(c.control), c.input);
    EXPECT_EQ(InitialValueText(c.control), c.value);
  }
}

// Two screens, one with a control and a handler of a control not on it; drawn for real.
SpecificationModel ModelWithScreens() {
  SpecificationModel model;
  model.Project.Name = "Zaiko";
  model.Files(MemberKind::kForm) = {{"frmMain.frm", ""}, {"frmEdit.frm", ""}};
  Screen main = NamedScreen("frmMain", "frmMain.frm");
  main.Caption = "在庫一覧";
  main.Description = "在庫を一覧する";
  main.Width = 320;
  main.Height = 200;
  ScreenControl button = Control("VB.CommandButton", {});
  button.Name = "cmdOK";
  button.Kind = "コマンドボタン";
  button.Caption = "OK";
  button.Placed = true;
  button.X = 10, button.Y = 20, button.W = 80, button.H = 24;
  button.Events = {"Click"};
  main.Controls = {button};
  main.Events = {{"cmdOK", "Click", "cmdOK_Click", true}, {"cmdGone", "Click", "cmdGone_Click", false}};
  Screen edit = NamedScreen("frmEdit", "frmEdit.frm");
  edit.Width = 200;
  edit.Height = 100;
  model.Screens = {main, edit};
  model.ScreensDescribed = true;
  return model;
}

std::string PartText(const ZipPackage& package, const std::string& part) {
  const std::string* bytes = package.Find(part);
  return bytes ? *bytes : "";
}

TEST(ScreenSheetsTest, EachScreenGetsASheetWithItsPictureAndTheListLinksToIt) {
  TempDir dir;
  SpecificationModel model = ModelWithScreens();
  const std::vector<std::string> pictures = DrawScreenPictures(model.Screens);
  const std::string path = dir.Native("book.xlsx");
  SaveToFileHandover handover(path);
  SilentProgressWindow progress;
  testing::RecordingWarnings warnings;
  ASSERT_TRUE(WriteWorkbookReport(model, BuiltTemplatePath(), handover, progress,
                                  warnings, nullptr, ReportMode::kComplete,
                                  [&]() -> const std::vector<std::string>& { return pictures; })
                  .ok());

  auto book = Workbook::Open(path);
  ASSERT_EQ(book->WorksheetCount(), 10);
  EXPECT_EQ(book->Worksheets(9).Name(), "frmMain");
  EXPECT_EQ(book->Worksheets(10).Name(), "frmEdit");
  Worksheet& list = book->Worksheets(6);
  EXPECT_EQ(list.Range("B5").Value(), "1");
  EXPECT_EQ(list.Range("C5").Value(), "在庫一覧");
  EXPECT_EQ(list.Range("D6").Value(), "frmEdit.frm");
  EXPECT_EQ(list.Range("E5").Value(), "在庫を一覧する");
  Worksheet& contents = book->Worksheets(3);
  EXPECT_EQ(contents.Range("C13").Value(), "frmMain");
  EXPECT_EQ(contents.Range("C14").Value(), "frmEdit");

  ZipPackage package = ZipPackage::Read(path);
  EXPECT_NE(PartText(package, "xl/worksheets/sheet6.xml").find(R"(location="'frmEdit'!A1")"),
            std::string::npos);
  const std::string types = PartText(package, "[Content_Types].xml");
  EXPECT_NE(types.find(R"(Extension="png" ContentType="image/png")"), std::string::npos);
  // Each screen sheet's relationship leads to a drawing, and the drawing's to a PNG in the book.
  int drawings = 0;
  for (const auto& [name, bytes] : package.parts()) {
    std::smatch target;
    if (!std::regex_search(bytes, target, std::regex(R"re(Target="../drawings/(drawing\d+\.xml)")re")))
      continue;
    ++drawings;
    const std::string drawing = "xl/drawings/" + target[1].str();
    EXPECT_NE(types.find("/" + drawing), std::string::npos) << drawing;
    EXPECT_NE(PartText(package, drawing).find("<xdr:oneCellAnchor>"), std::string::npos);
    std::smatch media;
    const std::string rels = PartText(package, "xl/drawings/_rels/" + target[1].str() + ".rels");
    ASSERT_TRUE(std::regex_search(rels, media, std::regex(R"re(Target="../media/([^"]+)")re")));
    EXPECT_EQ(PartText(package, "xl/media/" + media[1].str()).substr(1, 3), "PNG");
  }
  EXPECT_EQ(drawings, 2);
}

TEST(ScreenSheetsTest, DefaultModeLeavesTheListOfScreensAsTheTemplateHasIt) {
  TempDir dir;
  SpecificationModel model = ModelWithScreens();
  const std::string path = dir.Native("book.xlsx");
  SaveToFileHandover handover(path);
  SilentProgressWindow progress;
  testing::RecordingWarnings warnings;
  ASSERT_TRUE(
      WriteWorkbookReport(model, BuiltTemplatePath(), handover, progress, warnings)
          .ok());
  auto book = Workbook::Open(path);
  EXPECT_EQ(book->WorksheetCount(), 8);
  EXPECT_EQ(book->Worksheets(6).Range("C5").Value(), "");
}

}  // namespace
}  // namespace dovrek
