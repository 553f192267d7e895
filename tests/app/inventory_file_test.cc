// The inventory's CSV form: quoting as RFC 4180 says, so that a spreadsheet reads every field
// back as it was.

#include "app/inventory_file.h"

#include <gtest/gtest.h>

#include "app/portfolio_messages.h"

namespace dovrek {
namespace {

TEST(InventoryFileTest, CsvQuotesFieldsWithCommasQuotesAndLineFeeds) {
  InventoryRow row;
  row.Path = "C:/a,b/\"x\".vbp";
  row.Outcome = kOutcomeFailed;
  row.Message = "one\ntwo";
  std::string csv;
  {
    BufferedWriter out(&csv);
    WriteInventoryCsv({row}, out);
    out.Flush();
  }
  const std::string last = csv.substr(csv.find("\r\n") + 2);
  EXPECT_EQ(last, "\"C:/a,b/\"\"x\"\".vbp\"" + std::string(28, ',') + "失敗,\"one\ntwo\"\r\n");
}

}  // namespace
}  // namespace dovrek
