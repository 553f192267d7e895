#include "report/workbook_handover.h"

namespace dovrek {

Status SaveToFileHandover::HandOver(const WorkbookSaver& save, const std::string&) {
  return save(path_, transaction_);
}

}  // namespace dovrek
