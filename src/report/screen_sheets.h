#pragma once
// The screens in the workbook: the list of screens (画面一覧) filled in, one row each linking to
// the screen's own sheet, and after the function list one sheet per screen with its picture,
// its items (画面項目一覧) and its event handlers (イベント一覧). The contents list the new sheets
// when the template marks where its page numbers go.

#include <string>
#include <vector>

#include "model/screen.h"
#include "workbook/workbook.h"

namespace dovrek {

// The sheet names the screens get: the window's name (its file's name when it has none) with
// the characters a sheet name may not hold made "_", cut to 31 characters, and "(2)", "(3)" ...
// after a name that another sheet of the book or an earlier screen has.
std::vector<std::string> ScreenSheetNames(Workbook& book, const std::vector<Screen>& screens);

// Writes the screens into the book made from the template: `pictures` holds each screen's PNG
// picture in the screens' order (a screen without one, or all when it is empty, gets no picture).
// Throws WorkbookError as the engine does.
void WriteScreenSheets(Workbook& book, const std::vector<Screen>& screens,
                       const std::vector<std::string>& pictures);

}  // namespace dovrek
