// Where the reports go: full devices, devices and FIFOs written in place, symbolic links
// followed, folders that vanish during the run, and writes that fail half-way. A failed run
// must say so, name the file, and leave an earlier report as it was; the project is only read.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

#include "app/dovrek_process.h"
#include "os/native_path.h"
#include "report/workbook_handover.h"
#include "run/report_writers.h"
#include "run/run_stages.h"

namespace dovrek {
namespace {

using testing::ProcessOutcome;
using testing::ProgramCopy;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr char kEarlier[] = "earlier report\r\n";

class ReportTargetTest : public ::testing::Test {
 protected:
  ReportTargetTest() : program(dir) {
    sample = std::string(DOVREK_SOURCE_DIR) + "/examples/sample/Sample.vbp";
    std::filesystem::create_directories(dir.path() / "out");
  }

  ProcessOutcome Run(const std::vector<std::string>& outputs, testing::ProcessLimits limits = {}) {
    std::vector<std::string> args{"-q"};
    args.insert(args.end(), outputs.begin(), outputs.end());
    args.push_back(sample);
    return program.Run(args, limits);
  }

  // The reports of the sample project as regular files, to compare other targets with.
  std::string Reference(const char* option) {
    std::string path = dir.Native(std::string("out/reference") + option);
    ProcessOutcome run = Run({option, path});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return ReadFileBytes(path);
  }

  std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  ProgramCopy program;
  std::string sample;
};

bool IsCharacterDevice(const char* path) {
  struct stat st;
  return ::lstat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

TEST_F(ReportTargetTest, DevicesAreWrittenInPlaceAndAFullOneFailsTheRun) {
  if (!IsCharacterDevice("/dev/full") || !IsCharacterDevice("/dev/null"))
    GTEST_SKIP() << "no /dev/full";
  for (const char* option : {"-t", "-x", "-j"}) {
    ProcessOutcome full = Run({option, "/dev/full"});
    EXPECT_EQ(full.exit_code, 1) << option;
    EXPECT_EQ(full.err, "エラー: /dev/full: ディスクの空き容量が不足しています。\n") << option;
    ProcessOutcome null = Run({option, "/dev/null"});
    EXPECT_EQ(null.exit_code, 0) << option << null.err;
    EXPECT_EQ(null.err, "") << option;
  }
  EXPECT_TRUE(IsCharacterDevice("/dev/full"));
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));
}

// Reads a FIFO opened without blocking until its writer has come and gone (or 20 s pass).
std::string DrainFifo(int fd) {
  std::string bytes;
  char chunk[4096];
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    struct pollfd wait_for {
      fd, POLLIN, 0
    };
    if (::poll(&wait_for, 1, 100) <= 0) continue;
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) bytes.append(chunk, static_cast<size_t>(n));
    if (n == 0 && (wait_for.revents & POLLHUP)) break;
  }
  return bytes;
}

TEST_F(ReportTargetTest, AFifoIsWrittenInPlaceForItsReader) {
  for (const char* option : {"-t", "-x"}) {
    std::string expected = Reference(option);
    std::string fifo = dir.Native("out/pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The reader is there before the program starts, so the program never finds it missing.
    int read_end = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(read_end, 0);
    std::string received;
    std::thread reader([&] { received = DrainFifo(read_end); });
    ProcessOutcome run = Run({option, fifo});
    reader.join();
    ::close(read_end);
    EXPECT_EQ(run.exit_code, 0) << option << run.err;
    EXPECT_EQ(received, expected) << option;
    struct stat st;
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << option;
    // Without a reader the run fails at once instead of waiting for one.
    ProcessOutcome alone = Run({option, fifo}, {.timeout = std::chrono::seconds(10)});
    EXPECT_FALSE(alone.timed_out) << option;
    EXPECT_EQ(alone.exit_code, 1) << option;
    EXPECT_EQ(alone.err.rfind("エラー: " + fifo + ": ", 0), 0u) << option << alone.err;
    std::filesystem::remove(fifo);
  }
}

TEST_F(ReportTargetTest, SymbolicLinksAreFollowedAndKept) {
  for (const char* option : {"-t", "-x"}) {
    std::string expected = Reference(option);
    std::string real = dir.Write("real/report", kEarlier);
    std::string link = dir.Native("out/link");
    std::filesystem::create_symlink(real, link);
    std::string dangling = dir.Native("out/dangling");
    std::filesystem::create_symlink(dir.Native("real/new-report"), dangling);
    for (const std::string& target : {link, dangling}) {
      ProcessOutcome run = Run({option, target});
      EXPECT_EQ(run.exit_code, 0) << option << target << run.err;
      EXPECT_TRUE(std::filesystem::is_symlink(target)) << option << target;
      EXPECT_EQ(ReadFileBytes(target), expected) << option << target;
    }
    EXPECT_EQ(Listing(dir.Native("real")), (std::vector<std::string>{"new-report", "report"}))
        << option;
    std::filesystem::remove_all(dir.path() / "real");
    std::filesystem::remove(link);
    std::filesystem::remove(dangling);
  }
}

// A write that fails half-way (the file-size limit stands in for a full disk) fails the run, and
// the earlier report at the target is left exactly as it was, with no temporary file beside it.
TEST_F(ReportTargetTest, AFailedWriteLeavesTheEarlierReport) {
  for (const char* option : {"-t", "-x"}) {
    std::string target = dir.Write("out/report", kEarlier);
    ::chmod(target.c_str(), 0640);
    ProcessOutcome run = Run({option, target}, {.file_size = 1024});
    EXPECT_EQ(run.exit_code, 1) << option;
    EXPECT_EQ(run.err, "エラー: " + target + ": ファイルが大きすぎます。\n") << option;
    EXPECT_EQ(ReadFileBytes(target), kEarlier) << option;
    EXPECT_EQ(Listing(dir.Native("out")), (std::vector<std::string>{"report"})) << option;
    // A complete report replaces it and keeps its permissions.
    EXPECT_EQ(Run({option, target}).exit_code, 0) << option;
    EXPECT_NE(ReadFileBytes(target), kEarlier) << option;
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << option;
    EXPECT_EQ(Listing(dir.Native("out")), (std::vector<std::string>{"report"})) << option;
  }
}

// A run whose last output fails (its folder is missing, or a folder stands at its path) leaves
// every file it had finished as it was, and standard output without any report.
TEST_F(ReportTargetTest, AFailedOutputLeavesEveryEarlierOutput) {
  std::string text = dir.Native("out/report.txt"), book = dir.Native("out/book.xlsx");
  std::filesystem::create_directories(dir.path() / "out/folder.json");
  struct Case {
    std::vector<std::string> outputs;
  } cases[] = {{{"-t", text, "-x", book, "-j", dir.Native("missing/x.json")}},
               {{"-t", text, "-j", dir.Native("out/folder.json")}},
               {{"-x", book, "-t", dir.Native("missing/r.txt")}},
               {{"-t", "-", "-x", book, "-j", dir.Native("missing/x.json")}}};
  for (const Case& c : cases) {
    dir.Write("out/report.txt", kEarlier);
    dir.Write("out/book.xlsx", kEarlier);
    ProcessOutcome run = Run(c.outputs);
    EXPECT_EQ(run.exit_code, 1) << c.outputs.back();
    EXPECT_TRUE(run.out.empty()) << c.outputs.back();
    EXPECT_TRUE(ReadFileBytes(text) == kEarlier) << c.outputs.back();
    EXPECT_TRUE(ReadFileBytes(book) == kEarlier) << c.outputs.back();
    EXPECT_EQ(Listing(dir.Native("out")),
              (std::vector<std::string>{"book.xlsx", "folder.json", "report.txt"}));
  }
}

// Removes a folder when the progress window is loaded for the n-th time: the first load is for
// reading the members, the second for the report being written.
class FolderRemovingProgress : public testing::RecordingProgressWindow {
 public:
  FolderRemovingProgress(std::string folder, int at_load)
      : folder_(std::move(folder)), at_load_(at_load) {}
  void Load() override {
    RecordingProgressWindow::Load();
    if (++loads_ == at_load_) std::filesystem::remove_all(folder_);
  }

 private:
  std::string folder_;
  int at_load_;
  int loads_ = 0;
};

TEST_F(ReportTargetTest, AFolderRemovedDuringTheRunFailsTheReport) {
  struct Case {
    const char* label;
    CheckState xls, txt;
  } cases[] = {{"text report", CheckState::kOff, CheckState::kOn},
               {"workbook", CheckState::kOn, CheckState::kOff}};
  for (const Case& c : cases) {
    std::string target = dir.Write("gone/report", kEarlier);
    FolderRemovingProgress progress(dir.Native("gone"), 2);
    testing::RecordingMessageBox msg;
    SaveToFileHandover handover(target);
    testing::RecordingWarnings warnings;
    Options options;
    options.Xls = c.xls;
    options.Txt = c.txt;
    const ReportWriters writers =
        ChosenWriters(options, {handover, warnings, program.template_path(),
                                FixedPathChooser(target), Encoding::kCp932, ""});
    SpecificationModel model;
    EXPECT_FALSE(RunSpecification(SourcePath::Locate(ToWindowsPath(sample)), model, options, msg,
                                  progress, writers))
        << c.label;
    EXPECT_EQ(msg.shown, (std::vector<std::string>{"エラー|" + dir.Native("gone") +
                                                   ": フォルダが存在しません。"}))
        << c.label;
    EXPECT_EQ(progress.calls.back(), "Unload") << c.label;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone")) << c.label;
  }
}

// Everything a project file names is only read: after a full run the project folder holds the
// same files with the same bytes and modification times.
TEST_F(ReportTargetTest, TheProjectIsOnlyRead) {
  std::filesystem::copy(std::filesystem::path(sample).parent_path(), dir.path() / "p");
  std::string vbp = ReadFileBytes(dir.Native("p/Sample.vbp"));
  vbp += "HelpFile=\"basMain.bas\"\r\nExeName32=\"clsCalc.cls\"\r\nModule=again; basMain.bas\r\n";
  dir.Write("p/Sample.vbp", vbp);
  std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>> before;
  for (const std::string& name : Listing(dir.Native("p"))) {
    std::string path = dir.Native("p/" + name);
    before[name] = {ReadFileBytes(path), std::filesystem::last_write_time(path)};
  }
  ProcessOutcome run =
      program.Run({"-q", "-t", dir.Native("out/s.txt"), "-x", dir.Native("out/s.xlsx"), "-j",
                   dir.Native("out/s.json"), dir.Native("p/Sample.vbp")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Listing(dir.Native("p")).size(), before.size());
  for (const auto& [name, state] : before) {
    std::string path = dir.Native("p/" + name);
    EXPECT_EQ(ReadFileBytes(path), state.first) << name;
    EXPECT_EQ(std::filesystem::last_write_time(path), state.second) << name;
  }
}

}  // namespace
}  // namespace dovrek
