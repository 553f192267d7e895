#pragma once
// What a screen's item list says of a control beyond its name and place, from the properties
// its source sets: its state when the window opens, the rules of its input, and its initial
// value. Each is "" when the source leaves everything at the default.

#include <string>

#include "model/screen.h"

namespace dovrek {

// "非表示", "無効", "ロック" (joined by "・") for Visible = 0, Enabled = 0 and Locked = -1.
std::string InitialStateText(const ScreenControl& control);

// The input rules set: "最大 10 文字", "IME ひらがな", "パスワード文字 *", "右揃え" (joined by "・").
std::string InputRulesText(const ScreenControl& control);

// The text it opens with, else its Value (a check box "オン" or "灰色", an option button
// "選択", any other as the source writes it), else its list items (joined by "、").
std::string InitialValueText(const ScreenControl& control);

}  // namespace dovrek
