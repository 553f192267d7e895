#include "app/batch_summary.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

TEST(BatchSummaryTest, SaysWhatWasReadAndWrittenWhere) {
  struct Case {
    std::string name;
    std::string text, workbook, settings;
    double seconds;
    bool complete;
    std::string summary;
  } cases[] = {
      {"Zaiko", "", "-", "", 1.234, false,
       "完了: Zaiko — フォーム 1、標準モジュール 0、クラス モジュール 2、プロシージャ 3 → "
       "ワークブック: 標準出力 (1.23 秒)\n設定ファイル: なし"},
      // A project without a Name is called by its file's name; under a second counts in ms.
      {"", "out.txt", "o/b.xlsx", "n/Dovrek.ini", 0.4204, false,
       "完了: App.vbp — フォーム 1、標準モジュール 0、クラス モジュール 2、プロシージャ 3 → "
       "テキスト: out.txt、ワークブック: o/b.xlsx (420 ms)\n設定ファイル: n/Dovrek.ini"},
      // Complete mode: the component lists, and the procedures by kind.
      {"Zaiko", "", "-", "", 0.9996, true,
       "完了: Zaiko — フォーム 1、標準モジュール 0、クラス モジュール 2、ユーザーコントロール 0、"
       "プロパティページ 0、ユーザードキュメント 0、デザイナ 1、プロシージャ 3 (Sub 1、"
       "Property Get 2) → ワークブック: 標準出力 (1.00 秒)\n設定ファイル: なし"},
  };
  for (const Case& c : cases) {
    SpecificationModel model;
    model.Project.Name = c.name;
    model.Files(MemberKind::kForm).resize(1);
    model.Files(MemberKind::kClass).resize(2);
    model.Files(MemberKind::kDesigner).resize(c.complete ? 1 : 0);
    model.Procedures.resize(3);
    if (c.complete) {
      model.Procedures[0].Kind = model.Procedures[2].Kind = "Property Get";
      model.Procedures[1].Kind = "Sub";
    }
    CommandLine line;
    line.project_path = SourcePath::Locate("\\w\\App.vbp");
    line.text_path = c.text;
    line.workbook_path = c.workbook;
    line.settings_path = c.settings;
    EXPECT_EQ(BatchSummary(model, line, c.complete, c.seconds), c.summary);
  }
}

}  // namespace
}  // namespace dovrek
