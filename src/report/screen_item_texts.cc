#include "report/screen_item_texts.h"

#include <optional>
#include <string_view>

#include "source/property_text.h"

namespace dovrek {
namespace {

// The number a property of the control is set to; nullopt when the source does not set it.
std::optional<int32_t> NumberOf(const ScreenControl& control, std::string_view name) {
  for (const ScreenProperty& property : control.Properties) {
    if (property.Name == name) {
      std::optional<double> value = NumberValue(property.Text);
      return value ? std::optional<int32_t>(WholeNumber(*value)) : std::nullopt;
    }
  }
  return std::nullopt;
}

const ScreenProperty* Find(const ScreenControl& control, std::string_view name) {
  for (const ScreenProperty& property : control.Properties) {
    if (property.Name == name) return &property;
  }
  return nullptr;
}

void Join(std::string* text, std::string_view part, std::string_view separator) {
  if (part.empty()) return;
  if (!text->empty()) *text += separator;
  *text += part;
}

// IMEMode's values as the property list names them, 1 to 10.
constexpr const char* kImeModes[] = {"オン",     "オフ",     "使用不可", "ひらがな", "全角カタカナ",
                                     "半角カタカナ", "全角英数", "半角英数", "全角ハングル", "ハングル"};

std::string ImeModeText(int32_t mode) {
  if (mode < 1 || mode > 10) return "";
  return std::string("IME ") + kImeModes[mode - 1];
}

std::string AlignmentText(const ScreenControl& control) {
  // Only text and label controls align their text this way; a check box's Alignment places
  // its box instead.
  if (control.Class != "VB.TextBox" && control.Class != "VB.Label") return "";
  std::optional<int32_t> alignment = NumberOf(control, "Alignment");
  if (alignment == 1) return "右揃え";
  if (alignment == 2) return "中央揃え";
  return "";
}

}  // namespace

std::string InitialStateText(const ScreenControl& control) {
  std::string text;
  if (NumberOf(control, "Visible") == 0) Join(&text, "非表示", "・");
  if (NumberOf(control, "Enabled") == 0) Join(&text, "無効", "・");
  if (std::optional<int32_t> locked = NumberOf(control, "Locked"); locked && *locked != 0) {
    Join(&text, "ロック", "・");
  }
  return text;
}

std::string InputRulesText(const ScreenControl& control) {
  std::string text;
  if (std::optional<int32_t> most = NumberOf(control, "MaxLength"); most && *most > 0) {
    Join(&text, "最大 " + std::to_string(*most) + " 文字", "・");
  }
  if (std::optional<int32_t> mode = NumberOf(control, "IMEMode")) Join(&text, ImeModeText(*mode), "・");
  if (const ScreenProperty* password = Find(control, "PasswordChar")) {
    if (std::optional<std::string> mark = QuotedText(password->Text); mark && !mark->empty()) {
      Join(&text, "パスワード文字 " + *mark, "・");
    }
  }
  Join(&text, AlignmentText(control), "・");
  return text;
}

std::string InitialValueText(const ScreenControl& control) {
  if (!control.Text.empty()) return control.Text;
  std::optional<int32_t> number = NumberOf(control, "Value");
  if (control.Class == "VB.CheckBox" && number) return *number == 1 ? "オン" : *number == 2 ? "灰色" : "";
  if (control.Class == "VB.OptionButton" && number) return *number != 0 ? "選択" : "";
  if (const ScreenProperty* value = Find(control, "Value")) {
    std::string_view shown = WithoutComment(value->Text);
    if (std::optional<std::string> quoted = QuotedText(shown)) return *quoted;
    return std::string(shown);
  }
  std::string items;
  for (const std::string& item : control.Items) {
    if (!items.empty()) items += "、";
    items += item;
  }
  return items;
}

}  // namespace dovrek
