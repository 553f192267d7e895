#include "codepage/encoding.h"

#include "base/text_helpers.h"

namespace dovrek {

std::string_view EncodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return "utf-8";
    case Encoding::kCp1252:
      return "cp1252";
    case Encoding::kCp932:
      break;
  }
  return "cp932";
}

std::optional<Encoding> EncodingNamed(std::string_view name) {
  for (Encoding encoding : {Encoding::kCp932, Encoding::kUtf8, Encoding::kCp1252}) {
    if (EqualsNoCase(name, EncodingName(encoding))) return encoding;
  }
  return std::nullopt;
}

}  // namespace dovrek
