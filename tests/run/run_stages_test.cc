#include "run/run_stages.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "os/system_error.h"
#include "report/workbook_handover.h"
#include "test_support.h"

namespace dovrek {
namespace {

// The real disk, but a file whose name ends with `fault_in` fails: at once when it is opened
// (fail_after < 0), otherwise on the read after `fail_after` reads. Every read hands out at most
// a few bytes, so a failure falls in the middle of the file.
class FaultyDisk : public Disk {
 public:
  FaultyDisk(std::string fault_in, int fail_after)
      : fault_in_(std::move(fault_in)), fail_after_(fail_after) {}

  Status OpenForReading(const std::string& path, std::unique_ptr<ReadableFile>* file) override {
    if (!path.ends_with(fault_in_)) return RealDisk().OpenForReading(path, file);
    if (fail_after_ < 0) return Status::IoError(FileErrorMessage(path, EIO));
    std::unique_ptr<ReadableFile> real;
    if (Status opened = RealDisk().OpenForReading(path, &real); !opened.ok()) return opened;
    *file = std::make_unique<FaultyFile>(std::move(real), path, fail_after_);
    return Status::OK();
  }
  FileKind Kind(const std::string& path) override { return RealDisk().Kind(path); }
  bool Exists(const std::string& path) override { return RealDisk().Exists(path); }
  bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    return RealDisk().ListFolder(folder, names);
  }

 private:
  class FaultyFile : public ReadableFile {
   public:
    FaultyFile(std::unique_ptr<ReadableFile> real, std::string path, int reads_left)
        : real_(std::move(real)), path_(std::move(path)), reads_left_(reads_left) {}
    Status Read(char* into, size_t size, size_t* got) override {
      if (reads_left_-- == 0) return Status::IoError(FileErrorMessage(path_, EIO));
      return real_->Read(into, std::min<size_t>(size, 7), got);
    }
    size_t ReadAt(uint64_t offset, char* into, size_t size) override {
      return real_->ReadAt(offset, into, size);
    }

   private:
    std::unique_ptr<ReadableFile> real_;
    std::string path_;
    int reads_left_;
  };

  std::string fault_in_;
  int fail_after_;
};

TEST(RunStagesTest, ADiskFaultFailsTheRunWithItsMessage) {
  testing::TempDir dir;
  dir.Write("p/p.vbp", "Type=Exe\r\nName=\"P\"\r\nModule=M; m.bas\r\nClass=C; c.cls\r\n");
  dir.Write("p/m.bas", "Attribute VB_Name = \"M\"\r\nSub A()\r\n' one\r\nEnd Sub\r\n");
  dir.Write("p/c.cls", "Attribute VB_Name = \"C\"\r\nSub B()\r\nEnd Sub\r\n");
  // A member's path joins the project folder and the member's empty folder: "p//m.bas".
  struct Case {
    std::string fault_in;
    int fail_after;
    std::string shown_as;  // the file the message names; empty for a run without fault
  } cases[] = {
      {"none", -1, ""},          {"p.vbp", -1, "p/p.vbp"}, {"p.vbp", 3, "p/p.vbp"},
      {"m.bas", -1, "p//m.bas"}, {"m.bas", 4, "p//m.bas"}, {"c.cls", 1, "p//c.cls"},
  };
  for (const Case& c : cases) {
    FaultyDisk disk(c.fault_in, c.fail_after);
    FolderListings listings(disk);
    testing::RecordingMessageBox msg;
    SilentProgressWindow progress;
    testing::FixedFileDialog dialog("");
    SaveToFileHandover handover(dir.Native("p.xlsx"));
    testing::RecordingWarnings warnings;
    RunServices services{msg, progress, dialog, handover, warnings, ""};
    SpecificationModel model;
    EXPECT_EQ(RunSpecification(SourcePath::Locate(dir.Windows("p/p.vbp"), listings), model,
                               Options{}, services),
              c.shown_as.empty())
        << c.fault_in << " " << c.fail_after;
    std::vector<std::string> shown;
    if (!c.shown_as.empty()) {
      shown = {"エラー|" + dir.Native(c.shown_as) + ": デバイス I/O エラーです。"};
    }
    EXPECT_EQ(msg.shown, shown) << c.fault_in << " " << c.fail_after;
  }
}

// A missing template and a file that is no project are the user's to mend and caution (the
// stages then say the project was refused); a report that cannot be written fails.
TEST(RunStagesTest, FailuresAreShownInTheirKindOfBox) {
  testing::TempDir dir;
  testing::RecordingMessageBox msg;
  SilentProgressWindow progress;
  testing::FixedFileDialog dialog(dir.Native("no/such/spec.txt"));
  SaveToFileHandover handover(dir.Native("spec.xlsx"));
  testing::RecordingWarnings warnings;
  RunServices services{msg, progress, dialog, handover, warnings, dir.Native("Dovrek.xlt")};
  SpecificationModel model;
  Options options;
  ProductionStages stages(model, options, services);
  EXPECT_FALSE(stages.WriteWorkbookReport());
  EXPECT_FALSE(stages.WriteTextReport());
  EXPECT_FALSE(stages.refused_project());
  dir.Write("g.vbg", "VBGROUP 5.0\r\nStartupProject=p\\p.vbp\r\n");
  dir.Write("f.frm", "VERSION 5.00\r\nBegin VB.Form f\r\nEnd\r\n");
  EXPECT_FALSE(stages.ReadProject(SourcePath::Locate(dir.Windows("g.vbg"))));
  EXPECT_FALSE(stages.ReadProject(SourcePath::Locate(dir.Windows("f.frm"))));
  EXPECT_TRUE(stages.refused_project());
  EXPECT_EQ(msg.shown,
            (std::vector<std::string>{
                "注意|XLT ファイルが存在しません。",
                "エラー|" + dir.Native("no/such") + ": フォルダが存在しません。",
                "注意|" + dir.Native("g.vbg") +
                    ": VB6 のプロジェクト グループ ファイルです。グループはコマンド ラインから実行"
                    "してください。",
                "注意|" + dir.Native("f.frm") + ": VB6 のプロジェクト ファイルではありません。"}));
}

}  // namespace
}  // namespace dovrek
