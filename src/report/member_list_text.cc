#include "report/member_list_text.h"

#include "base/text_helpers.h"

namespace dovrek {

std::string MemberListText(const std::vector<MemberFile>& files, std::string_view bullet) {
  std::string joined;
  for (const MemberFile& file : files) {
    if (!joined.empty()) joined += '\n';
    joined += bullet;
    joined += file.FileName;
    if (file.Missing) joined += kMissingMark;
  }
  return ValueOrDefault(joined, kNone);
}

}  // namespace dovrek
