#include "run/file_counting_stages.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "test_support.h"

namespace dovrek {
namespace {

// A project of one form and two modules, every file read without fault.
class ThreeMembers : public RunStages {
 public:
  explicit ThreeMembers(SpecificationModel* model) : model_(model) {}
  Status ReadProject(const SourcePath&) override {
    model_->Files(MemberKind::kForm) = {MemberFile{}};
    model_->Files(MemberKind::kModule) = {MemberFile{}, MemberFile{}};
    return Status::OK();
  }
  Status ReadModule(const SourcePath&) override { return Status::OK(); }
  void ReadAhead(const std::vector<SourcePath>& paths) override { ahead = paths.size(); }

  size_t ahead = 0;  // the files named to be read

 private:
  SpecificationModel* model_;
};

TEST(FileCountingStagesTest, TheBarShowsTheFilesReadOfAll) {
  testing::TempDir dir;
  dir.Write("app/app.vbp", "Type=Exe\r\n");
  SpecificationModel model;
  Options options;
  testing::RecordingMessageBox msg;
  std::ostringstream out;
  ConsoleProgressWindow progress(out, true);
  ThreeMembers members(&model);
  FileCountingStages stages(members, model, progress);
  RunContext run{model, options, msg, progress, stages, {}};
  ASSERT_TRUE(CreateSpecification(SourcePath::Locate(dir.Windows("app/app.vbp")), run));
  // The count at the end of every line drawn, in order.
  std::vector<std::string> counts;
  const std::string drawn = out.str();
  const std::regex count(" ([0-9]+/[0-9]+)(?=\r|$)");
  for (std::sregex_iterator it(drawn.begin(), drawn.end(), count), end; it != end; ++it) {
    counts.push_back((*it)[1]);
  }
  EXPECT_EQ(counts, (std::vector<std::string>{"0/3", "0/3", "1/3", "1/3", "2/3", "3/3"}));
  EXPECT_EQ(members.ahead, 3u);
}

}  // namespace
}  // namespace dovrek
