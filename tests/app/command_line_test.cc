#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "os/native_path.h"
#include "test_support.h"

namespace dovrek {
namespace {

TEST(CommandLineTest, CutsTheUnattendedProjectPath) {
  struct Case {
    std::vector<std::string> args;
    std::optional<std::string> path;
  } cases[] = {
      {{"/a", "/work/app.vbp"}, "/work/app.vbp"},
      {{"/A", "/work/app.vbp"}, "/work/app.vbp"},
      {{"before", "/a", "\"/my work/app.vbp\""}, "/my work/app.vbp"},
      {{"/a", "/my", "work/app.vbp", " "}, "/my work/app.vbp"},
      {{"/a", "/x.vbp", "--text", "t"}, "/x.vbp --text t"},
      {{"/a"}, ""},
      {{"/archive/x.vbp"}, std::nullopt},  // "/a" inside another argument is no switch
      {{}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(UnattendedProjectPath(c.args), c.path);
}

TEST(CommandLineTest, ChoosesTheMode) {
  EXPECT_EQ(ParseCommandLine({}).mode, RunMode::kWindow);
  CommandLine window = ParseCommandLine({"/archive/x.vbp"});
  EXPECT_EQ(window.mode, RunMode::kWindow);
  EXPECT_EQ(window.project_path.windows(), "\\archive\\x.vbp");
  EXPECT_EQ(ParseCommandLine({"/a", "/x.vbp"}).mode, RunMode::kUnattended);
  EXPECT_EQ(ParseCommandLine({"a.vbp", "b.vbp"}).mode, RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--help"}).mode, RunMode::kHelp);
  EXPECT_EQ(ParseCommandLine({"--version"}).mode, RunMode::kVersion);
  EXPECT_EQ(ParseCommandLine({"--bogus", "x.vbp"}).mode, RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"-q"}).mode, RunMode::kUsageError);  // no project
  EXPECT_EQ(ParseCommandLine({"--text-encoding", "latin1", "-t", "x", "p.vbp"}).mode,
            RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--cmt", "--no-cmt", "p.vbp"}).mode, RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--complete", "--no-complete", "-t", "x", "p.vbp"}).mode,
            RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--source-encoding", "latin1", "-t", "x", "p.vbp"}).mode,
            RunMode::kUsageError);
  // Two outputs on one path would overwrite each other; "-" (standard output) is one path too.
  EXPECT_EQ(ParseCommandLine({"-t", "-", "-x", "-", "p.vbp"}).mode, RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"-t", "o/a", "-j", "./o/a", "p.vbp"}).mode, RunMode::kUsageError);
  EXPECT_EQ(ParseCommandLine({"-t", "-", "-j", "a", "p.vbp"}).mode, RunMode::kBatch);
}

// Outputs that would write one file, through a link, a hard link or a name of standard output,
// are bad usage; so is an option in front of "/a", which the unattended run would drop.
TEST(CommandLineTest, RefusesOutputsOnOneFileAndOptionsBeforeTheSwitch) {
  testing::TempDir dir;
  std::string file = dir.Write("a.txt", "x");
  std::filesystem::create_symlink(file, dir.path() / "link.txt");
  std::filesystem::create_hard_link(file, dir.path() / "hard.txt");
  struct Case {
    std::vector<std::string> args;
    RunMode mode;
  } cases[] = {
      {{"-t", file, "-j", dir.Native("link.txt"), "p.vbp"}, RunMode::kUsageError},
      {{"-t", file, "-x", dir.Native("hard.txt"), "p.vbp"}, RunMode::kUsageError},
      {{"-j", "-", "-t", "/dev/stdout", "p.vbp"}, RunMode::kUsageError},
      {{"-j", "-", "-t", "/proc/self/fd/1", "p.vbp"}, RunMode::kUsageError},
      {{"-j", "-", "-x", "/dev/../dev/fd/1", "p.vbp"}, RunMode::kUsageError},
      {{"-j", "-", "-t", "/dev/stderr", "p.vbp"}, RunMode::kBatch},
      {{"--json", "f", "/a", "p.vbp"}, RunMode::kUsageError},
      {{"/a", "p.vbp", "--json", "f"}, RunMode::kUnattended},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCommandLine(c.args).mode, c.mode) << c.args[0] << " " << c.args[3];
  }
}

TEST(CommandLineTest, ReadsBatchOptions) {
  CommandLine line =
      ParseCommandLine({"-t", "out.txt", "--workbook", "/o/x.xlsx", "-j", "-", "--no-cmt", "--func",
                        "--trim", "--text-encoding", "utf-8", "--complete", "--source-encoding",
                        "cp1252", "-q", "rel/app.vbp"});
  ASSERT_EQ(line.mode, RunMode::kBatch) << line.error;
  EXPECT_EQ(line.text_path, "out.txt");
  EXPECT_EQ(line.workbook_path, "/o/x.xlsx");
  EXPECT_EQ(line.json_path, "-");
  EXPECT_EQ(line.cmt, false);
  EXPECT_EQ(line.func, true);
  EXPECT_EQ(line.dir, std::nullopt);
  EXPECT_EQ(line.trim, true);
  EXPECT_EQ(line.text_encoding, Encoding::kUtf8);
  EXPECT_EQ(line.complete, true);
  EXPECT_EQ(line.source_encoding, SourceEncodingChoice{Encoding::kCp1252});
  EXPECT_TRUE(line.quiet);
  EXPECT_EQ(line.project_path.windows(), ToWindowsPath(MakeAbsolute("rel/app.vbp")));
  CommandLine plain = ParseCommandLine({"-q", "p.vbp"});
  EXPECT_FALSE(plain.HasOutput());
  EXPECT_EQ(plain.complete, std::nullopt);  // Dovrek.ini decides
  EXPECT_EQ(plain.source_encoding, std::nullopt);
  EXPECT_EQ(ParseCommandLine({"--no-complete", "--source-encoding", "auto", "p.vbp"}).complete,
            false);
}

}  // namespace
}  // namespace dovrek
