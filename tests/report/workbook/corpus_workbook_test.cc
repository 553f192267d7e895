// Workbooks for the real projects of the shared corpus. The model is gathered here with a rough
// reading of each project file and of its members' procedure heads (the project reader and the
// source parser are tested on their own); what matters is that every workbook is built, reads
// back, and loads in an independent reader.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "model/text_helpers.h"
#include "platform/line_reader.h"
#include "platform/native_path.h"
#include "report/workbook/template_fixture.h"
#include "report/workbook/workbook.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::CorpusFolder;
using testing::RecordingMessageBox;
using testing::RecordingProgressWindow;
using testing::TempDir;

class SaveTo : public WorkbookHandover {
 public:
  explicit SaveTo(std::string path) : path_(std::move(path)) {}
  bool HandOver(const WorkbookSaver& save, const std::string&, std::string* error) override {
    return save(path_, error);
  }

 private:
  std::string path_;
};

void AddProcedures(const std::string& member_path, const std::string& file_name, SpecificationModel* model) {
  LineReader reader;
  std::string line, error, comment;
  if (!reader.Open(member_path, &error)) return;
  while (reader.ReadLine(&line, &error)) {
    std::string_view text = TrimSpaces(line);
    if (!text.empty() && text[0] == '\'') {
      comment += std::string(text.substr(1)) + "\n";
      continue;
    }
    for (const char* head : {"Public Sub ", "Private Sub ", "Sub ", "Public Function ", "Private Function ", "Function "}) {
      if (text.rfind(head, 0) == 0) {
        std::string_view rest = text.substr(std::string_view(head).size());
        size_t open = rest.find('(');
        bool is_private = text.rfind("Private", 0) == 0;
        model->Procedures.push_back({std::string(rest.substr(0, open)), is_private ? "Private" : "Public", file_name,
                                     comment, "", ""});
        break;
      }
    }
    comment.clear();
  }
}

SpecificationModel RoughModel(const std::filesystem::path& vbp) {
  SpecificationModel model;
  LineReader reader;
  std::string line, error;
  if (!reader.Open(vbp.string(), &error)) return model;
  while (reader.ReadLine(&line, &error)) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string key = line.substr(0, equals), value = RemoveDoubleQuotes(line.substr(equals + 1));
    if (EqualsNoCase(key, "Title")) model.Project.Title = value;
    if (EqualsNoCase(key, "Name")) model.Project.Name = value;
    if (EqualsNoCase(key, "ExeName32")) model.Project.ExeName32 = value;
    if (EqualsNoCase(key, "VersionCompanyName")) model.Project.VersionCompanyName = value;
    if (EqualsNoCase(key, "MajorVer")) model.Project.MajorVer = value;
    std::vector<MemberFile>* list = EqualsNoCase(key, "Form")     ? &model.FormFiles
                                    : EqualsNoCase(key, "Module") ? &model.ModuleFiles
                                    : EqualsNoCase(key, "Class")  ? &model.ClassFiles
                                                                  : nullptr;
    if (!list) continue;
    std::string path = value.substr(value.find(';') == std::string::npos ? 0 : value.find(';') + 1);
    list->push_back({FileNamePart(path), FolderPart(path)});
    std::string member = ToWindowsPath(vbp.parent_path().string()) + "\\" +
                         (list->back().Folder.empty() ? "" : list->back().Folder + "\\") + list->back().FileName;
    if (std::optional<std::string> found = FindExistingPath(ToNativePath(member))) {
      AddProcedures(*found, list->back().FileName, &model);
    }
  }
  return model;
}

TEST(CorpusWorkbookTest, EveryProjectGivesAWorkbookThatReadsBack) {
  if (CorpusFolder().empty()) GTEST_SKIP() << "no corpus";
  TempDir dir;
  int built = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(CorpusFolder())) {
    if (!EqualsNoCase(entry.path().extension().string(), ".vbp")) continue;
    SpecificationModel model = RoughModel(entry.path());
    std::string out = dir.Native("book" + std::to_string(built++) + ".xlsx");
    SaveTo handover(out);
    RecordingProgressWindow progress;
    RecordingMessageBox msg;
    ASSERT_TRUE(WriteWorkbookReport(model, ToWindowsPath(BuiltTemplatePath()), handover, progress, msg))
        << entry.path() << (msg.shown.empty() ? "" : msg.shown[0]);
    auto book = Workbook::Open(out);
    EXPECT_EQ(book->Worksheets(1).Range("NAME").Value(), model.Project.Name) << entry.path();
    int32_t last = model.LastProcedure();
    if (last >= 0) {
      std::string heading = book->Worksheets(8).Range("B" + std::to_string(5 + 5 * last)).Value();
      EXPECT_EQ(heading.rfind(model.Procedures.back().Name + "(", 0), 0u) << entry.path();
    }
  }
  EXPECT_GT(built, 50);
  const char* check = "import sys, glob, openpyxl\n"
                      "for f in glob.glob(sys.argv[1] + '/*.xlsx'):\n"
                      "    assert openpyxl.load_workbook(f).sheetnames[4] == 'ﾌｧｲﾙ構成', f\n";
  std::string script = dir.Write("check.py", check);
  if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("/usr/bin/python3 '" + script + "' '" + dir.path().string() + "'").c_str()), 0);
  }
}

}  // namespace
}  // namespace dovrek
