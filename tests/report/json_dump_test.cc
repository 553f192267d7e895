#include "report/json_dump.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace dovrek {
namespace {

SpecificationModel Sample() {
  SpecificationModel model;
  model.Project = {"在庫\"管理\"", "Zaiko", "z.exe", "", "", "説明\\", "会社", "1", "2", "3"};
  model.Files(MemberKind::kForm) = {{"frmMain.frm", ""}, {"b.frm", "..\\Forms"}};
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
  model.Files(MemberKind::kModule) = {{"m.bas", ""}};
  EXPECT_EQ(
      ModelToJson(model),
      "{\n  \"project\": {\n    \"Title\": \"\",\n    \"Name\": \"\",\n    \"ExeName32\": \"\",\n"
      "    \"Command32\": \"\",\n    \"HelpFile\": \"\",\n    \"VersionFileDescription\": \"\",\n"
      "    \"VersionCompanyName\": \"\",\n    \"MajorVer\": \"\",\n    \"MinorVer\": \"\",\n"
      "    \"RevisionVer\": \"\"\n  },\n  \"forms\": [],\n  \"modules\": [\n    {\n"
      "      \"FileName\": \"m.bas\",\n      \"Folder\": \"\"\n    }\n  ],\n  \"classes\": [],\n"
      "  \"procedures\": []\n}\n");
}

TEST(JsonDumpTest, CompleteModeAddsKindsComponentsAndTheEncoding) {
  SpecificationModel model;
  model.Files(MemberKind::kClass) = {{"c.cls", ""}};
  model.Files(MemberKind::kDesigner) = {{"r.Dsr", "rpt"}};
  ProcedureEntry get{"Value", "Friend", "c.cls", "", "", "Long", "Property Get", true};
  ProcedureEntry api{"Beep", "Private",          "c.cls", "",         "ByVal f As Long",
                     "Long", "Declare Function", false,   "kernel32", "Beep"};
  model.Procedures = {get, api, get};
  const std::string json = ModelToJson(model, /*complete=*/true);
  const std::string head = "    \"RevisionVer\": \"\"\n  },\n  \"encoding\": \"cp932\",\n";
  EXPECT_NE(
      json.find(head +
                "  \"forms\": [],\n  \"modules\": [],\n  \"classes\": [\n    {\n"
                "      \"FileName\": \"c.cls\",\n      \"Folder\": \"\",\n"
                "      \"Kinds\": {\"Property Get\": 2, \"Declare Function\": 1}\n    }\n  ],\n"
                "  \"controls\": [],\n  \"pages\": [],\n  \"documents\": [],\n"
                "  \"designers\": [\n    {\n      \"FileName\": \"r.Dsr\",\n"
                "      \"Folder\": \"rpt\",\n      \"Kinds\": {}\n    }\n  ],\n"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("\"ReturnType\": \"Long\",\n      \"Kind\": \"Property Get\",\n"
                      "      \"Static\": true\n    }"),
            std::string::npos);
  EXPECT_NE(json.find("\"Kind\": \"Declare Function\",\n      \"Static\": false,\n"
                      "      \"Lib\": \"kernel32\",\n      \"Alias\": \"Beep\"\n    }"),
            std::string::npos);
  model.Encoding = "cp1252";
  EXPECT_EQ(nlohmann::json::parse(ModelToJson(model, true))["encoding"], "cp1252");
  EXPECT_EQ(ModelToJson(model).find("Kind"), std::string::npos);  // default mode: unchanged
}

TEST(JsonDumpTest, InvalidUtf8BecomesReplacementCharacters) {
  SpecificationModel model;
  model.Project.Name =
      "a\xFF"
      "b";
  nlohmann::json json = nlohmann::json::parse(ModelToJson(model));
  EXPECT_EQ(json["project"]["Name"], "a\uFFFDb");
}

// Long texts are passed over eight bytes at a time: a byte to escape is found at every offset.
TEST(JsonDumpTest, EscapesAByteWhereverItStands) {
  const struct {
    char byte;
    std::string escaped;
  } cases[] = {
      {'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\x1F', "\\u001f"}, {'\x01', "\\u0001"}};
  for (const auto& c : cases) {
    for (size_t at = 0; at < 20; ++at) {
      SpecificationModel model;
      model.Project.Name = std::string(20, 'a') + "表";
      model.Project.Name[at] = c.byte;
      std::string expected = std::string(20, 'a') + "表";
      expected.replace(at, 1, c.escaped);
      EXPECT_NE(ModelToJson(model).find("\"Name\": \"" + expected + "\",\n"), std::string::npos)
          << at << " " << c.escaped;
    }
  }
}

}  // namespace
}  // namespace dovrek
