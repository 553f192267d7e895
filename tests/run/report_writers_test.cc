#include "run/report_writers.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

// The options choose the writers and their order: workbook, text report, JSON. Each writes
// where the places say; the workbook's missing template is a missing input.
TEST(ReportWritersTest, TheOptionsChooseTheWritersInTheirOrder) {
  testing::TempDir dir;
  SaveToFileHandover handover(dir.Native("spec.xlsx"));
  testing::RecordingWarnings warnings;
  testing::RecordingProgressWindow progress;
  struct Case {
    CheckState xls, txt;
    std::string json;
    std::vector<Status::Kind> outcomes;
  } cases[] = {
      {CheckState::kOff, CheckState::kOff, "", {}},
      {CheckState::kOn, CheckState::kGreyed, "", {Status::Kind::kNotFound}},
      {CheckState::kOn,
       CheckState::kOn,
       dir.Native("m.json"),
       {Status::Kind::kNotFound, Status::Kind::kOk, Status::Kind::kOk}},
  };
  for (const Case& c : cases) {
    Options options;
    options.Xls = c.xls;
    options.Txt = c.txt;
    ReportWriters writers = ChosenWriters(
        options, {handover, warnings, dir.Native("none.xlt"),
                  FixedPathChooser(dir.Native("s.txt")), Encoding::kCp932, c.json});
    std::vector<Status::Kind> outcomes;
    for (const auto& writer : writers) {
      outcomes.push_back(writer->Write(SpecificationModel(), progress).kind());
    }
    EXPECT_EQ(outcomes, c.outcomes) << c.json;
  }
  EXPECT_NE(testing::ReadFileBytes(dir.Native("s.txt")), "<missing>");
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("m.json")).front(), '{');
}

}  // namespace
}  // namespace dovrek
