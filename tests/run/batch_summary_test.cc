#include "run/batch_summary.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

TEST(BatchSummaryTest, SaysWhatWasReadAndWrittenWhere) {
  struct Case {
    std::string name;
    std::string text, workbook;
    double seconds;
    std::string summary;
  } cases[] = {
      {"Zaiko", "", "-", 1.234,
       "完了: Zaiko — フォーム 1、標準モジュール 0、クラス モジュール 2、プロシージャ 3 → "
       "ワークブック: 標準出力 (1.23 秒)"},
      // A project without a Name is called by its file's name.
      {"", "out.txt", "o/b.xlsx", 0.0,
       "完了: App.vbp — フォーム 1、標準モジュール 0、クラス モジュール 2、プロシージャ 3 → "
       "テキスト: out.txt、ワークブック: o/b.xlsx (0.00 秒)"},
  };
  for (const Case& c : cases) {
    SpecificationModel model;
    model.Project.Name = c.name;
    model.FormFiles.resize(1);
    model.ClassFiles.resize(2);
    model.Procedures.resize(3);
    CommandLine line;
    line.project_path = "\\w\\App.vbp";
    line.text_path = c.text;
    line.workbook_path = c.workbook;
    EXPECT_EQ(BatchSummary(model, line, c.seconds), c.summary);
  }
}

}  // namespace
}  // namespace dovrek
