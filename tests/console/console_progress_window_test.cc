#include "console/console_progress_window.h"

#include <sstream>

#include <gtest/gtest.h>

namespace dovrek {
namespace {

// The line last drawn: what follows the last clear-line sequence.
std::string LastLine(const std::string& out) {
  size_t clear = out.rfind("\r\x1b[K");
  return clear == std::string::npos ? "<none>" : out.substr(clear + 4);
}

std::string Bar(int filled) {
  return "[" + std::string(filled, '#') + std::string(20 - filled, ' ') + "]";
}

TEST(ConsoleProgressWindowTest, DrawsTheBarRule) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, true);
  window.Load();
  EXPECT_EQ(LastLine(out.str()), Bar(0));
  window.InitProgress(5, "読み込み");
  struct Step {
    int32_t index;
    int filled;
  } steps[] = {{0, 0}, {4, 16}, {5, 20}, {9, 20}, {-1, 0}, {2, 8}};
  for (const Step& s : steps) {
    window.Progress(s.index);
    EXPECT_EQ(LastLine(out.str()), "読み込み " + Bar(s.filled)) << s.index;
  }
}

TEST(ConsoleProgressWindowTest, ZeroMaximumKeepsBarAndMaximum) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, true);
  window.Load();
  window.InitProgress(5, "a");
  window.Progress(4);
  window.InitProgress(0, "b");
  EXPECT_EQ(LastLine(out.str()), "b " + Bar(16));
  window.Progress(1);
  EXPECT_EQ(LastLine(out.str()), "b " + Bar(4));
  // The maximum outlives Unload; Load shows an empty message again.
  window.Unload();
  EXPECT_EQ(LastLine(out.str()), "");
  window.Load();
  window.InitProgress(0, "c");
  window.Progress(5);
  EXPECT_EQ(LastLine(out.str()), "c " + Bar(20));
}

TEST(ConsoleProgressWindowTest, NeverDividesByZero) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, true);
  window.Load();
  window.InitProgress(0, "x");
  window.Progress(3);
  EXPECT_EQ(LastLine(out.str()), "x " + Bar(0));
}

TEST(ConsoleProgressWindowTest, SkipsRedrawsThatChangeNothing) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, true);
  window.Load();
  window.InitProgress(1000, "x");
  const std::string before = out.str();
  window.Progress(1);
  window.Progress(2);  // still no whole character filled
  EXPECT_EQ(out.str(), before);
}

TEST(ConsoleProgressWindowTest, ShowsTheFilesReadUntilUnload) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, true);
  window.SetFilesRead(0, 3);
  window.Load();
  EXPECT_EQ(LastLine(out.str()), Bar(0) + " 0/3");
  window.InitProgress(2, "a");
  window.SetFilesRead(1, 3);
  window.Progress(1);
  EXPECT_EQ(LastLine(out.str()), "a " + Bar(10) + " 1/3");
  window.Unload();
  window.Load();
  EXPECT_EQ(LastLine(out.str()), Bar(0));
}

TEST(ConsoleProgressWindowTest, DisabledDrawsNothing) {
  std::ostringstream out;
  ConsoleProgressWindow window(out, false);
  window.Load();
  window.InitProgress(5, "x");
  window.Progress(3);
  window.Unload();
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace dovrek
