// Failures are named for their cause, in Japanese, and say whether reading or writing failed.

#include "os/system_error.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/dovrek_process.h"
#include "test_support.h"

namespace dovrek {
namespace {

// Each failure is named for its cause, and says whether reading or writing failed where the
// text says either.
TEST(FailureMessagesTest, EachErrorHasItsOwnJapaneseText) {
  struct Case {
    int error;
    const char* reading;
    const char* writing;
  } cases[] = {
      {EACCES, "読み込みできません。(アクセスが拒否されました)",
       "書き込みできません。(アクセスが拒否されました)"},
      {EPERM, "読み込みできません。(操作が許可されていません)",
       "書き込みできません。(操作が許可されていません)"},
      {EROFS, "書き込みできません。(読み取り専用のファイル システムです)",
       "書き込みできません。(読み取り専用のファイル システムです)"},
      {ELOOP, "シンボリック リンクをたどれません。(リンクが多すぎるか、循環しています)",
       "シンボリック リンクをたどれません。(リンクが多すぎるか、循環しています)"},
      {EBADF, "ファイル ハンドルが無効です。(閉じられた標準出力など)",
       "ファイル ハンドルが無効です。(閉じられた標準出力など)"},
      {EDQUOT, "ディスク クォータを超えました。", "ディスク クォータを超えました。"},
      {ENOENT, "ファイルが見つかりません。", "ファイルが見つかりません。"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeSystemError(c.error, FileAccess::kReading), c.reading) << c.error;
    EXPECT_EQ(DescribeSystemError(c.error, FileAccess::kWriting), c.writing) << c.error;
  }
  // No errno value falls through to the system's English text.
  for (int error = 1; error < 134; ++error) {
    for (FileAccess access : {FileAccess::kReading, FileAccess::kWriting}) {
      std::string text = DescribeSystemError(error, access);
      EXPECT_EQ(text.find(std::strerror(error)), std::string::npos) << error << " " << text;
    }
  }
  EXPECT_EQ(DescribeSystemError(9999, FileAccess::kReading), "システム エラーです。(番号 9999)");
}

// A project path that names no readable file is named for what is in the way, and only a path
// that names nothing is "not found"; a member that may not be read says so. A file that is no
// project is refused as bad usage.
TEST(FailureMessagesTest, InputsThatCannotBeReadAreNamedForWhatIsInTheWay) {
  testing::TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  testing::ProgramCopy program(dir);
  std::filesystem::create_directories(dir.path() / "folder.vbp");
  ::mkfifo(dir.Native("fifo.vbp").c_str(), 0644);
  ::symlink("loop.vbp", dir.Native("loop.vbp").c_str());
  dir.Write("closed/p.vbp", "Type=Exe\r\n");
  ::chmod(dir.Native("closed").c_str(), 0600);  // not searchable, by its owner either
  dir.Write("p/p.vbp", "Type=Exe\r\nModule=m; locked.bas\r\n");
  dir.Write("p/locked.bas", "Attribute VB_Name = \"m\"\r\n");
  ::chmod(dir.Native("p/locked.bas").c_str(), 0200);
  dir.Write("f.frm", "VERSION 5.00\r\nBegin VB.Form f\r\nEnd\r\nAttribute VB_Name = \"f\"\r\n");
  dir.Write("notes.txt", "Name=not a project\n");
  dir.Write("g.vbg", "VBGROUP 5.0\r\nStartupProject=p\\p.vbp\r\n");
  const std::string no_project = ": VB6 のプロジェクト ファイルではありません。";
  struct Case {
    const char* project;
    std::string said;  // after the title
    int exit_code = 1;
  } cases[] = {
      {"none.vbp", "注意: " + dir.Native("none.vbp") + ": ファイルが見つかりません。"},
      {"f.frm", "注意: " + dir.Native("f.frm") + no_project, 2},
      {"notes.txt", "注意: " + dir.Native("notes.txt") + no_project, 2},
      {"g.vbg",
       "注意: " + dir.Native("g.vbg") +
           ": VB6 のプロジェクト グループ ファイルです。グループはコマンド "
           "ラインから実行してください。",
       2},
      {"folder.vbp",
       "注意: " + dir.Native("folder.vbp") + ": パス/ファイル アクセス エラーです。(フォルダです)"},
      {"fifo.vbp", "注意: " + dir.Native("fifo.vbp") + ": 通常のファイルではありません。"},
      {"loop.vbp", "注意: " + dir.Native("loop.vbp") +
                       ": シンボリック リンクをたどれません。(リンクが多すぎるか、循環しています)"},
      {"closed/p.vbp",
       "注意: " + dir.Native("closed/p.vbp") + ": 読み込みできません。(アクセスが拒否されました)"},
      {"p/p.vbp", "エラー: " + dir.Native("p") +
                      "//locked.bas: 読み込みできません。(アクセスが拒否されました)"},
  };
  for (const Case& c : cases) {
    testing::ProcessOutcome run = program.Run({"-q", "-j", "-", dir.Native(c.project)},
                                              {.user = testing::UnprivilegedUser()});
    EXPECT_EQ(run.exit_code, c.exit_code) << c.project;
    EXPECT_EQ(run.err, c.said + "\n") << c.project;
  }
  ::chmod(dir.Native("closed").c_str(), 0755);
}

}  // namespace
}  // namespace dovrek
