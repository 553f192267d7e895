// Values that a spreadsheet would take for formulas reach the workbook as text cells only.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "workbook/workbook.h"
#include "workbook/zip_package.h"
#include "app/dovrek_process.h"

namespace dovrek {
namespace {

using testing::ProgramCopy;
using testing::TempDir;

// The cell element of a sheet part, or an empty node.
pugi::xml_node CellNode(const pugi::xml_document& sheet, const std::string& reference) {
  return sheet.child("worksheet").child("sheetData").find_node([&](pugi::xml_node node) {
    return std::string_view(node.name()) == "c" && reference == node.attribute("r").value();
  });
}

TEST(WorkbookTextValuesTest, FormulaLikeNamesAndCommentsStayText) {
  TempDir dir;
  ProgramCopy program(dir);
  const std::vector<std::string> comments = {"=SUM(A1:A2)", "+1+1", "-2+3", "@SUM(1)",
                                             "=HYPERLINK(\"http://x\",\"y\")"};
  std::string module =
      "Attribute VB_Name = \"basX\"\r\nPublic Sub =HYPERLINK(\"http://x\",\"y\")\r\nEnd Sub\r\n";
  for (size_t i = 0; i < comments.size(); ++i) {
    module += "Sub P" + std::to_string(i) + "()\r\n'" + comments[i] + "\r\nEnd Sub\r\n";
  }
  dir.Write("p/basX.bas", module);
  dir.Write("p/p.vbp",
            "Type=Exe\r\nTitle=+cmd|' /C calc'!A0\r\nName=@x\r\nModule=basX; basX.bas\r\n");
  testing::ProcessOutcome run =
      program.Run({"-q", "-x", dir.Native("out.xlsx"), dir.Native("p/p.vbp")});
  ASSERT_EQ(run.exit_code, 0) << run.err;

  // Cell by cell as the engine reads them back: the texts exactly as the model held them.
  auto book = Workbook::Open(dir.Native("out.xlsx"));
  std::vector<std::pair<std::string, std::string>> expected = {
      {"B5",
       "=HYPERLINK(basX.bas)\nスコープ　：Public\nパラメータ：\"http://x\",\"y\"\n戻り値　　：\n"}};
  for (size_t i = 0; i < comments.size(); ++i) {
    expected.push_back({"B" + std::to_string(12 + 5 * i), comments[i] + "\n"});
  }
  for (const auto& [reference, text] : expected) {
    EXPECT_EQ(book->Worksheets(8).Range(reference).Value(), text) << reference;
  }
  EXPECT_EQ(book->Worksheets(1).Range("TITLE").Value(), "+cmd|' /C calc'!A0");
  EXPECT_EQ(book->Worksheets(1).Range("NAME").Value(), "@x");

  // In the parts themselves: inline string cells, and no formula anywhere.
  ZipPackage package = ZipPackage::Read(dir.Native("out.xlsx"));
  for (const char* part : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet8.xml"}) {
    pugi::xml_document sheet;
    ASSERT_TRUE(sheet.load_string(package.Find(part)->c_str())) << part;
    EXPECT_FALSE(sheet.find_node([](pugi::xml_node n) {
      return std::string_view(n.name()) == "f";
    })) << part;
  }
  pugi::xml_document functions;
  ASSERT_TRUE(functions.load_string(package.Find("xl/worksheets/sheet8.xml")->c_str()));
  for (const auto& [reference, text] : expected) {
    EXPECT_STREQ(CellNode(functions, reference).attribute("t").value(), "inlineStr") << reference;
  }
}

}  // namespace
}  // namespace dovrek
