#pragma once
// What the item lists of a screen call a control's class: the built-in classes in Japanese
// (コマンドボタン, テキストボックス, ...), any other class as "Lib.Class".

#include <string>

#include "source/form_description.h"

namespace dovrek {

std::string ControlKindText(const FormObject& object);

// True for the built-in classes that have no picture at run time (a timer, a common dialog)
// and for the components of other libraries known to be such.
bool IsInvisibleAtRunTime(const FormObject& object);

}  // namespace dovrek
