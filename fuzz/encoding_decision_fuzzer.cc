// Feeds arbitrary bytes, cut into files at every 0x00 0x00 pair, to the project encoding
// decision, and decodes them in the decided encoding: the decision must not fail, and every
// decoding must give well-formed UTF-8.

#include <string_view>

#include "fuzz_support.h"
#include "text/encoding_decision.h"
#include "codepage/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  EncodingDecision decision;
  for (size_t start = 0; start <= bytes.size();) {
    size_t end = bytes.find(std::string_view("\0\0", 2), start);
    if (end == std::string_view::npos) end = bytes.size();
    decision.Add(bytes.substr(start, end - start));
    start = end + 2;
  }
  std::string text;
  AppendDecoded(bytes, decision.Decide(), &text);
  if (!IsValidUtf8(text)) __builtin_trap();
  return 0;
}
