#include "workbook/shared_strings.h"

#include "workbook/workbook_messages.h"
#include "workbook/cell_text.h"
#include "workbook/workbook_error.h"

namespace dovrek {

std::string StringItemText(pugi::xml_node item) {
  std::string stored = item.child("t").text().get();
  for (pugi::xml_node run : item.children("r")) stored += run.child("t").text().get();
  return DecodeCellText(stored);
}

SharedStrings::SharedStrings(const pugi::xml_document& table) {
  for (pugi::xml_node item : table.child("sst").children("si")) {
    texts_.push_back(StringItemText(item));
  }
}

const std::string& SharedStrings::At(uint32_t index) const {
  if (index >= texts_.size()) {
    throw WorkbookError(MissingSharedString(index));
  }
  return texts_[index];
}

}  // namespace dovrek
