// Runs the built program over many projects at once, as a nightly job would.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "app/dovrek_process.h"
#include "test_support.h"

namespace dovrek {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The sample project twice, under one name in two folders, and a project two of whose members
// are missing.
class PortfolioRunTest : public ::testing::Test {
 protected:
  PortfolioRunTest() : program(dir) {
    const fs::path sample = fs::path(DOVREK_SOURCE_DIR) / "examples/sample";
    for (const char* copy : {"in/RT070", "in/MT070"}) {
      fs::create_directories(dir.path() / copy);
      fs::copy(sample, dir.path() / copy);
      fs::rename(dir.path() / copy / "Sample.vbp", dir.path() / copy / "Mt070.vbp");
    }
    dir.Write("in/bad/Bad.vbp",
              "Type=Exe\r\nForm=gone.frm\r\nModule=basMain; basMain.bas\r\n"
              "Module=basX; lost\\basX.bas\r\n");
    fs::copy(sample / "basMain.bas", dir.path() / "in/bad/basMain.bas");
  }
  testing::ProcessOutcome Dovrek(const std::vector<std::string>& args) { return program.Run(args); }
  nlohmann::json Json(const std::string& relative) {
    return nlohmann::json::parse(ReadFileBytes(dir.Native(relative)));
  }

  testing::TempDir dir;
  testing::ProgramCopy program;
};

TEST_F(PortfolioRunTest, AFailedProjectStopsNoOther) {
  testing::ProcessOutcome run = Dovrek({"--output-dir", dir.Native("out"), dir.Native("in")});
  EXPECT_EQ(run.exit_code, 1);
  for (const char* written : {"out/MT070/Mt070.txt", "out/MT070/Mt070.xlsx",
                              "out/RT070/Mt070.txt", "out/RT070/Mt070.xlsx"}) {
    EXPECT_TRUE(fs::exists(dir.path() / written)) << written << "\n" << run.err;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "out/bad/Bad.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "out/MT070/Mt070.json"));
  EXPECT_TRUE(Has(run.err, "[3/3] ")) << run.err;
  EXPECT_TRUE(Has(run.err, "失敗: " + dir.Native("in/bad/Bad.vbp") + ": ")) << run.err;
  EXPECT_TRUE(Has(run.err, "3 プロジェクト中 2 件を書き出しました")) << run.err;
}

TEST_F(PortfolioRunTest, SkipMissingNamesEveryMissingMemberAndTheInventoryCountsAgree) {
  testing::ProcessOutcome run =
      Dovrek({"--skip-missing", "--formats", "text,json", "--output-dir", dir.Native("out"),
              "--inventory", dir.Native("inv.json"), dir.Native("in")});
  EXPECT_EQ(run.exit_code, 1);
  const std::string text = ReadFileBytes(dir.Native("out/bad/Bad.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "out/bad/Bad.xlsx"));
  for (const std::string member : {"in/bad//gone.frm", "in/bad/lost/basX.bas"}) {
    EXPECT_TRUE(Has(run.err, "見つからないメンバー: " + dir.Native(member))) << run.err;
  }
  for (const char* marked : {"gone.frm (", "basX.bas ("}) {
    EXPECT_TRUE(Has(text, marked)) << marked;
  }
  nlohmann::json inventory = Json("inv.json");
  ASSERT_EQ(inventory.size(), 3u);
  const char* outputs[] = {"out/MT070/Mt070.json", "out/RT070/Mt070.json", "out/bad/Bad.json"};
  const char* outcomes[] = {"書き出し済み", "書き出し済み", "メンバー欠落"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(inventory[i]["Procedures"], Json(outputs[i])["procedures"].size()) << i;
    EXPECT_EQ(inventory[i]["Outcome"], outcomes[i]);
  }
  EXPECT_EQ(inventory[0]["Type"], "Exe");
  EXPECT_EQ(inventory[0]["Components"][0], "stdole2.tlb - OLE Automation");
  EXPECT_EQ(inventory[2]["Message"].size(), 2u);
}

TEST_F(PortfolioRunTest, InventoryAsCsvAndUsageErrors) {
  testing::ProcessOutcome run =
      Dovrek({"-q", "--inventory", dir.Native("inv.csv"), dir.Native("in/MT070/Mt070.vbp")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string csv = ReadFileBytes(dir.Native("inv.csv"));
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(Has(csv, "\r\n" + dir.Native("in/MT070/Mt070.vbp") + ",Exe,Zaiko,")) << csv;
  for (std::vector<std::string> bad :
       {std::vector<std::string>{"a.vbp", "b.vbp"},
        {"--output-dir", "o", "-t", "x.txt", "a.vbp"},
        {"--output-dir", "o", "--formats", "pdf", "a.vbp"},
        {"--inventory", "inv.ods", "a.vbp"}}) {
    EXPECT_EQ(Dovrek(bad).exit_code, 2) << bad[0];
  }
}

}  // namespace
}  // namespace dovrek
