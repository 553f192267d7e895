// Opens a produced workbook in two programs that share no code with ours: LibreOffice (headless,
// converting every sheet to CSV) and Python's openpyxl. Each is skipped when not installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/native_path.h"
#include "report/workbook/template_fixture.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::ReadFileBytes;
using testing::RecordingMessageBox;
using testing::TempDir;

bool Runs(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The Python interpreter that has openpyxl, or empty.
std::string PythonWithOpenpyxl() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    if (Runs(std::string(python) + " -c 'import openpyxl'")) return python;
  }
  return "";
}

std::string WriteSample(const TempDir& dir) {
  SpecificationModel model;
  model.Project = {"在庫管理",       "Zaiko",        "Zaiko.exe", "",  "",
                   "在庫を管理する", "ドブレク商事", "2",         "1", "0"};
  model.FormFiles = {{"frmMain.frm", ""}, {"frmEdit.frm", ""}, {"frmList.frm", ""}};
  model.ModuleFiles = {{"basMain.bas", ""}};
  model.Procedures = {{"Main", "Public", "basMain.bas", "起動する\n", "", ""},
                      {"=HYPERLINK(\"x\")", "Private", "frmMain.frm",
                       "a<&>\"\x01"
                       "b\n" +
                           std::string(40, '\n'),
                       "ByVal n As Long", "Boolean"}};
  std::string path = dir.Native("Zaiko.xlsx");
  SaveToFileHandover handover(path);
  SilentProgressWindow progress;
  RecordingMessageBox msg;
  EXPECT_TRUE(
      WriteWorkbookReport(model, ToWindowsPath(BuiltTemplatePath()), handover, progress, msg));
  return path;
}

TEST(WorkbookIntegrationTest, LibreOfficeConvertsEverySheet) {
  if (!Runs("command -v soffice")) GTEST_SKIP() << "soffice is not installed";
  TempDir dir;
  std::string book = WriteSample(dir);
  std::string command = "cd '" + dir.path().string() +
                        "' && timeout 120 soffice --headless --norestore " +
                        "-env:UserInstallation=file://" + dir.Native("profile") +
                        " --convert-to 'csv:Text - txt - csv "
                        "(StarCalc):44,34,76,1,,0,false,true,false,false,false,-1'" +
                        " --outdir out Zaiko.xlsx";
  ASSERT_TRUE(Runs(command)) << command;
  std::string cover = ReadFileBytes(dir.Native("out/Zaiko-表紙.csv"));
  EXPECT_NE(cover.find("在庫管理"), std::string::npos) << cover;
  EXPECT_NE(cover.find("Version 2.1.0"), std::string::npos) << cover;
  EXPECT_NE(cover.find("なし"), std::string::npos) << cover;
  std::string files = ReadFileBytes(dir.Native("out/Zaiko-ﾌｧｲﾙ構成.csv"));
  EXPECT_NE(files.find("\"frmMain.frm\nfrmEdit.frm\nfrmList.frm\""), std::string::npos) << files;
  std::string functions = ReadFileBytes(dir.Native("out/Zaiko-関数一覧.csv"));
  EXPECT_NE(functions.find("Main(basMain.bas)"), std::string::npos) << functions;
  EXPECT_NE(functions.find("=HYPERLINK(\"\"x\"\")(frmMain.frm)"), std::string::npos) << functions;
  EXPECT_NE(functions.find("a<&>\"\"\x01"
                           "b\n"),
            std::string::npos)
      << functions;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "out"), {}), 8);
}

constexpr char kOpenpyxlCheck[] = R"(
import sys, openpyxl
from openpyxl.utils.escape import unescape  # this reader leaves _xHHHH_ escapes as stored
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['表紙', '改訂履歴', '目次', '処理概要', 'ﾌｧｲﾙ構成', '画面一覧', '備考', '関数一覧'], wb.sheetnames
assert wb.active.title == '表紙', wb.active.title
def named(name):
    (sheet, cell), = wb.defined_names[name].destinations
    return wb[sheet][cell.replace('$', '')]
expected = {'TITLE': '在庫管理', 'VERSION': 'Version 2.1.0', 'COMPANY': 'ドブレク商事', 'NAME': 'Zaiko',
            'EXENAME': 'Zaiko.exe', 'COMMAND': 'なし', 'HELPFILE': 'なし', 'DESCRIPTION': '在庫を管理する',
            'FORM': 'frmMain.frm\nfrmEdit.frm\nfrmList.frm', 'MODULE': 'basMain.bas', 'CLASS': 'なし'}
for name, value in expected.items():
    assert named(name).value == value, (name, named(name).value)
files = wb['ﾌｧｲﾙ構成']
assert files.row_dimensions[5].height == 42, files.row_dimensions[5].height
fl = wb['関数一覧']
b5 = fl['B5']
assert b5.value == 'Main(basMain.bas)\nスコープ　：Public\nパラメータ：\n戻り値　　：\n', repr(b5.value)
assert b5.fill.fgColor.rgb == 'FFBEBEBE', b5.fill.fgColor.rgb
assert b5.font.color.rgb == 'FFFFFFFF', b5.font.color.rgb
assert b5.alignment.wrap_text, 'wrap lost'
assert b5.font.name == 'ＭＳ Ｐゴシック', b5.font.name
assert fl.row_dimensions[5].height == 56 and fl.row_dimensions[7].height == 14
assert fl['B10'].value.startswith('=HYPERLINK("x")(frmMain.frm)') and fl['B10'].data_type == 's', fl['B10'].value
assert unescape(fl['B12'].value) == 'a<&>"\x01b\n' + '\n' * 40, repr(fl['B12'].value)
assert fl.row_dimensions[12].height == 409, fl.row_dimensions[12].height
print('ok')
)";

TEST(WorkbookIntegrationTest, OpenpyxlReadsNamesValuesHeightsAndColours) {
  std::string python = PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "python3-openpyxl is not installed";
  TempDir dir;
  std::string book = WriteSample(dir);
  std::string script = dir.Write("check.py", kOpenpyxlCheck);
  std::string command =
      python + " '" + script + "' '" + book + "' > '" + dir.Native("result.txt") + "' 2>&1";
  int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << ReadFileBytes(dir.Native("result.txt"));
}

}  // namespace
}  // namespace dovrek
