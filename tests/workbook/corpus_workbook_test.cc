// Workbooks for the real projects of the shared corpus, read as a run reads them: every
// workbook is built, reads back, and loads in an independent reader.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "os/native_path.h"
#include "base/text_helpers.h"
#include "workbook/template_fixture.h"
#include "report/function_list.h"
#include "workbook/workbook.h"
#include "report/workbook_report.h"
#include "run/generation_driver.h"
#include "source/module_scanner.h"
#include "source/project_reader.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::CorpusFolder;
using testing::RecordingMessageBox;
using testing::RecordingProgressWindow;
using testing::TempDir;

// The model of a corpus project as a run reads it; false for the projects whose members are
// missing from the corpus.
bool ReadCorpusProject(const std::filesystem::path& vbp, SpecificationModel* model) {
  SourcePath project = SourcePath::Locate(ToWindowsPath(vbp.string()));
  if (!ReadProject(project, Options{}, model).ok()) return false;
  for (const std::vector<MemberFile>& list : model->Members) {  // a default run reads three
    for (const MemberFile& member : list) {
      SourcePath path = SourcePath::Locate(MemberPath(project.windows(), member));
      if (!ReadModule(path, Options{}, model).ok()) return false;
    }
  }
  return true;
}

TEST(CorpusWorkbookTest, EveryProjectGivesAWorkbookThatReadsBack) {
  if (CorpusFolder().empty()) GTEST_SKIP() << "no corpus";
  TempDir dir;
  int built = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(CorpusFolder())) {
    if (!EqualsNoCase(entry.path().extension().string(), ".vbp")) continue;
    SpecificationModel model;
    if (!ReadCorpusProject(entry.path(), &model)) continue;
    std::string out = dir.Native("book" + std::to_string(built++) + ".xlsx");
    SaveToFileHandover handover(out);
    RecordingProgressWindow progress;
    testing::RecordingWarnings warnings;
    Status written = WriteWorkbookReport(model, BuiltTemplatePath(), handover,
                                         progress, warnings);
    ASSERT_TRUE(written.ok()) << entry.path() << written.message();
    auto book = Workbook::Open(out);
    EXPECT_EQ(book->Worksheets(1).Range("NAME").Value(), model.Project.Name) << entry.path();
    int32_t last = model.LastProcedure();
    if (last >= 0) {
      // The last heading stands three rows below the description rows of the others.
      std::vector<ProcedureEntry> before(model.Procedures.begin(), model.Procedures.end() - 1);
      uint64_t row = FunctionListRows(before) + 3;
      std::string heading = book->Worksheets(8).Range("B" + std::to_string(row)).Value();
      EXPECT_EQ(heading.rfind(model.Procedures.back().Name + "(", 0), 0u) << entry.path();
    }
  }
  EXPECT_EQ(built, 96);
  const char* check =
      "import sys, glob, openpyxl\n"
      "for f in glob.glob(sys.argv[1] + '/*.xlsx'):\n"
      "    assert openpyxl.load_workbook(f).sheetnames[4] == 'ﾌｧｲﾙ構成', f\n";
  std::string script = dir.Write("check.py", check);
  if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") == 0) {
    EXPECT_EQ(
        std::system(("/usr/bin/python3 '" + script + "' '" + dir.path().string() + "'").c_str()),
        0);
  }
}

}  // namespace
}  // namespace dovrek
