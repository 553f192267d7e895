// Feeds arbitrary bytes to the window description reader, the layout and the screen builder,
// with the same bytes as the window's companion file, and checks what they make: every object's
// container comes before it, every text is UTF-8, and each place is held to its range.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codepage/text_codec.h"
#include "source/form_companion.h"
#include "source/form_description.h"
#include "source/screen_builder.h"
#include "source/screen_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dovrek;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string text;
  AppendCp932AsUtf8(bytes, &text);
  const FormDescription form = ReadFormDescription(text);
  for (size_t i = 0; i < form.Objects.size(); ++i) {
    const int32_t parent = form.Objects[i].Parent;
    if ((i == 0) != (parent == -1) || parent >= static_cast<int32_t>(i)) __builtin_trap();
  }
  for (const ObjectPlace& place : LayOutScreen(form)) {
    if (place.Rect.X < -100000000 || place.Rect.X > 100000000 || place.Rect.W < 0) __builtin_trap();
  }
  const FormCompanion companion{std::string(bytes)};
  for (uint32_t offset = 0; offset < 16 && offset <= size; ++offset) {
    (void)companion.LongText(offset);
    (void)companion.ShortText(offset);
    (void)companion.List(offset);
    (void)companion.Picture(offset);
  }
  auto decode = [](std::string_view raw) {
    std::string utf8;
    AppendCp932AsUtf8(raw, &utf8);
    return utf8;
  };
  const Screen screen = BuildScreen({"f.frm", &form, &companion, decode, {"a_Click", "_", "b_"}, ""});
  for (const ScreenControl& control : screen.Controls) {
    if (!IsValidUtf8(control.Caption) || !IsValidUtf8(control.Text)) __builtin_trap();
  }
  return 0;
}
