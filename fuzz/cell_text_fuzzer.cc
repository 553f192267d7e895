// Feeds arbitrary bytes to the cell-text escaping: what is stored must come back as the text
// (after invalid UTF-8 has become U+FFFD), and the limit must never split a character.

#include <string>
#include <string_view>

#include "codepage/text_codec.h"
#include "workbook/cell_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string text;
  AppendSanitizedUtf8(bytes, &text);
  const std::string stored = EncodeCellText(bytes);
  if (DecodeCellText(stored) != text) __builtin_trap();
  // What is kept as it stands is stored as it stands.
  const size_t kept = KeptAsItStands(bytes);
  if (kept > bytes.size() || stored.compare(0, kept, bytes, 0, kept) != 0) __builtin_trap();
  bool cut = false;
  const std::string_view limited = LimitCellText(text, &cut);
  std::string resanitized;
  AppendSanitizedUtf8(limited, &resanitized);
  if (resanitized != limited || text.compare(0, limited.size(), limited) != 0) __builtin_trap();
  DecodeCellText(bytes);
  return 0;
}
