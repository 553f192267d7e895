#include "report/json_dump.h"

#include <gtest/gtest.h>

#include <sstream>
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
  model.SourceEncoding = Encoding::kCp1252;
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

namespace dovrek {
namespace {

// Every line stands two spaces further in for each object or array it is inside, down to a
// control's properties within a screen's controls.
TEST(JsonDumpTest, ScreensAreIndentedTwoSpacesALevel) {
  SpecificationModel model;
  Screen screen;
  screen.Name = "frmMain";
  screen.Objects = {{"{GUID}#1.0#0", "x.ocx"}};
  ScreenControl control;
  control.Name = "cmdOK";
  control.Properties = {{"Caption", "\"OK\""}};
  screen.Controls = {control};
  screen.Events = {{"cmdOK", "Click", "cmdOK_Click", true}};
  model.Screens = {screen};
  model.ScreensDescribed = true;
  std::istringstream json(ModelToJson(model, true));
  int depth = 0;
  for (std::string line; std::getline(json, line);) {
    const size_t text = line.find_first_not_of(' ');
    const bool closes = line[text] == '}' || line[text] == ']';
    EXPECT_EQ(text, static_cast<size_t>(2 * (depth - (closes ? 1 : 0)))) << line;
    bool quoted = false;
    for (size_t i = text; i < line.size(); ++i) {
      if (line[i] == '\\') ++i;
      else if (line[i] == '"') quoted = !quoted;
      else if (!quoted && (line[i] == '{' || line[i] == '[')) ++depth;
      else if (!quoted && (line[i] == '}' || line[i] == ']')) --depth;
    }
  }
  EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace dovrek
