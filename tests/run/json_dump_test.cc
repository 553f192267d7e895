#include "run/json_dump.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace dovrek {
namespace {

SpecificationModel Sample() {
  SpecificationModel model;
  model.Project = {"在庫\"管理\"", "Zaiko", "z.exe", "", "", "説明\\", "会社", "1", "2", "3"};
  model.FormFiles = {{"frmMain.frm", ""}, {"b.frm", "..\\Forms"}};
  model.Procedures = {{"Calc", "Public", "basMain.bas", " a\n\tb\x01\n", "ByVal a As Long", "Long"},
                      {"Init", "Private", "b.frm", "", "", ""}};
  return model;
}

TEST(JsonDumpTest, AnIndependentReaderGetsEveryFieldBack) {
  SpecificationModel model = Sample();
  nlohmann::json json = nlohmann::json::parse(ModelToJson(model));
  EXPECT_EQ(json["project"]["Title"], model.Project.Title);
  EXPECT_EQ(json["project"]["VersionFileDescription"], model.Project.VersionFileDescription);
  EXPECT_EQ(json["project"]["RevisionVer"], "3");
  ASSERT_EQ(json["forms"].size(), 2u);
  EXPECT_EQ(json["forms"][1]["Folder"], "..\\Forms");
  EXPECT_TRUE(json["modules"].empty());
  EXPECT_TRUE(json["classes"].is_array());
  ASSERT_EQ(json["procedures"].size(), 2u);
  EXPECT_EQ(json["procedures"][0]["Comment"], model.Procedures[0].Comment);
  EXPECT_EQ(json["procedures"][1]["Scope"], "Private");
}

TEST(JsonDumpTest, KeepsTheFieldOrderAndLayout) {
  SpecificationModel model;
  model.ModuleFiles = {{"m.bas", ""}};
  EXPECT_EQ(
      ModelToJson(model),
      "{\n  \"project\": {\n    \"Title\": \"\",\n    \"Name\": \"\",\n    \"ExeName32\": \"\",\n"
      "    \"Command32\": \"\",\n    \"HelpFile\": \"\",\n    \"VersionFileDescription\": \"\",\n"
      "    \"VersionCompanyName\": \"\",\n    \"MajorVer\": \"\",\n    \"MinorVer\": \"\",\n"
      "    \"RevisionVer\": \"\"\n  },\n  \"forms\": [],\n  \"modules\": [\n    {\n"
      "      \"FileName\": \"m.bas\",\n      \"Folder\": \"\"\n    }\n  ],\n  \"classes\": [],\n"
      "  \"procedures\": []\n}\n");
}

TEST(JsonDumpTest, InvalidUtf8BecomesReplacementCharacters) {
  SpecificationModel model;
  model.Project.Name =
      "a\xFF"
      "b";
  nlohmann::json json = nlohmann::json::parse(ModelToJson(model));
  EXPECT_EQ(json["project"]["Name"], "a\uFFFDb");
}

}  // namespace
}  // namespace dovrek
