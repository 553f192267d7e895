#include "report/screens_text.h"

#include "base/text_helpers.h"

namespace dovrek {
namespace {

std::string Size(int32_t w, int32_t h) { return std::to_string(w) + " x " + std::to_string(h); }

std::string ControlRow(size_t number, const ScreenControl& c) {
  std::string row = "        " + std::to_string(number) + ". " + c.ItemName() + "  " + c.Kind;
  const std::string& shown = !c.Caption.empty() ? c.Caption : c.Label;
  if (!shown.empty()) row += "  「" + OneLine(shown) + "」";
  if (c.Placed) {
    row += "  (" + std::to_string(c.X) + ", " + std::to_string(c.Y) + ") " + Size(c.W, c.H);
  }
  if (!c.Container.empty()) row += "  親：" + c.Container;
  if (c.Tab >= 0) row += "  タブ：" + std::to_string(c.Tab);
  if (!c.Events.empty()) {
    row += "  イベント：";
    for (size_t i = 0; i < c.Events.size(); ++i) row += (i ? ", " : "") + c.Events[i];
  }
  return row;
}

void AppendScreen(const Screen& s, std::vector<std::string>* rows) {
  rows->push_back("■画面 " + s.Name + "(" + s.FileName + ")");
  rows->push_back("    画面名　：" + OneLine(s.Caption));
  rows->push_back("    概要　　：" + OneLine(s.Description));
  rows->push_back("    大きさ　：" + Size(s.Width, s.Height) + (s.Note.empty() ? "" : "  " + s.Note));
  rows->push_back("    ○画面項目");
  for (size_t i = 0; i < s.Controls.size(); ++i) rows->push_back(ControlRow(i + 1, s.Controls[i]));
  rows->push_back("    ○イベント");
  for (const ScreenEvent& e : s.Events) {
    rows->push_back("        " + e.Control + "  " + e.Event + "  " + e.Procedure +
                    (e.OnScreen ? "" : "  (画面にない項目)"));
  }
  rows->push_back("");
}

}  // namespace

std::vector<std::string> ScreenRows(const std::vector<Screen>& screens) {
  std::vector<std::string> rows = {"○画面一覧"};
  for (size_t i = 0; i < screens.size(); ++i) {
    const Screen& s = screens[i];
    rows.push_back("    " + std::to_string(i + 1) + ". " + s.FileName + "  " + s.Name + "「" +
                   OneLine(s.Caption) + "」");
  }
  if (screens.empty()) rows.push_back("    なし");
  rows.push_back("");
  for (const Screen& s : screens) AppendScreen(s, &rows);
  return rows;
}

}  // namespace dovrek
