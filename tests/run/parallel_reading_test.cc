#include "run/parallel_reading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "run/stage_guard.h"
#include "source/module_scanner.h"
#include "test_support.h"

namespace dovrek {
namespace {

constexpr char kHeader[] = "Attribute VB_Name = \"m\"\r\n";

// A member file: its name and its lines after the header; a null text is a missing file.
struct Member {
  std::string name;
  const char* text;
};

struct Outcome {
  Status status;
  std::vector<ProcedureEntry> procedures;
};

class ParallelReadingTest : public ::testing::Test {
 protected:
  // Files are written in capitals and named in small letters, as they are looked up.
  std::vector<SourcePath> Write(const std::vector<Member>& members) {
    for (const Member& m : members) {
      std::string on_disk = m.name;
      for (char& c : on_disk) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (m.text) dir.Write(on_disk, std::string(kHeader) + m.text);
    }
    std::vector<SourcePath> paths;
    FolderListings listings;  // made after the files, as a run's are
    for (const Member& m : members)
      paths.push_back(SourcePath::Locate(dir.Windows(m.name), listings));
    return paths;
  }

  // The files read one after the other into the model.
  static Outcome OneByOne(const std::vector<SourcePath>& paths, const Options& options) {
    Outcome out;
    SpecificationModel model;
    for (const SourcePath& path : paths) {
      if (!(out.status = ReadModule(path, options, &model)).ok()) break;
    }
    return {out.status, model.Procedures};
  }

  // The files read on `threads` threads and joined in order.
  static Outcome Parallel(const std::vector<SourcePath>& paths, const Options& options,
                          unsigned threads) {
    Outcome out;
    SpecificationModel model;
    ParallelReading reading(paths, options, Encoding::kCp932, threads);
    for (const SourcePath& path : paths) {
      EXPECT_TRUE(reading.IsNext(path)) << path.display();
      if (!(out.status = reading.JoinNext(&model)).ok()) break;
    }
    return {out.status, model.Procedures};
  }

  testing::TempDir dir;
};

// Every case is compared with reading the files one by one, on one thread and on more threads
// than files, in default and complete mode, with and without Func.
TEST_F(ParallelReadingTest, JoinsTheModelOfOneThread) {
  struct Case {
    std::vector<Member> members;
    bool ok;  // in default mode
  };
  const Case cases[] = {
      // An end line before any head of a later file describes the previous file's last entry,
      // and a second one replaces that description.
      {{{"a.bas", "Sub A()\r\n' a\r\nEnd Sub\r\n"},
        {"b.bas", "Sub X\r\n' b\r\nEnd Sub\r\nSub Y: End Sub\r\n' c\r\nSub B()\r\nEnd Sub\r\n"},
        {"c.bas", "Function F\r\n' d\r\nEnd Function\r\n"}},
       true},
      // Nothing listed before such an end line: the run fails there, after empty files.
      {{{"e.bas", ""}, {"f.bas", "\r\n"}, {"g.bas", "Sub X\r\n' g\r\nEnd Sub\r\nSub G()\r\n"}},
       false},
      // The first failing file wins over a later one; a file between them is not joined.
      {{{"h.bas", "Sub H()\r\nEnd Sub\r\n"},
        {"i.bas", "Sub I()\r\nEnd Sub\r\nSub J(\r\n"},
        {"j.bas", "Sub K()\r\nEnd Sub\r\n"},
        {"k.bas", nullptr}},
       false},
      {{{"l.bas", nullptr}, {"m.bas", "Sub M(\r\n"}}, false},
      // Complete mode: declarations, heads in any indentation, the block above a head.
      {{{"n.cls", "' about P\r\n  Property Get P() As Long\r\n  End Property\r\n"},
        {"o.bas", "Declare Sub S Lib \"k\" ()\r\nEnd Sub\r\n' q\r\nFriend Sub Q(\r\n"}},
       true},
  };
  for (size_t c = 0; c < std::size(cases); ++c) {
    std::vector<SourcePath> paths = Write(cases[c].members);
    for (bool complete : {false, true}) {
      for (CheckState func : {CheckState::kOff, CheckState::kOn}) {
        Options options;
        options.Complete = complete;
        options.Func = func;
        Outcome alone = OneByOne(paths, options);
        if (!complete) {
          EXPECT_EQ(alone.status.ok(), cases[c].ok) << "case " << c;
        }
        for (unsigned threads : {1u, 4u}) {
          Outcome joined = Parallel(paths, options, threads);
          SCOPED_TRACE(::testing::Message() << "case " << c << " complete " << complete << " func "
                                            << Options::On(func) << " threads " << threads);
          EXPECT_EQ(joined.status.ok(), alone.status.ok());
          EXPECT_EQ(joined.status.message(), alone.status.message());
          EXPECT_EQ(joined.procedures, alone.procedures);
        }
      }
    }
  }
}

// An exception a read ends with on a reading thread reaches the stage that joins that file:
// the stage fails with the file named, the files before it stay joined, the program goes on.
TEST_F(ParallelReadingTest, AnExceptionOnAReadingThreadFailsTheStageThatJoinsIt) {
  std::vector<SourcePath> paths = Write({{"a.bas", "Sub A()\r\nEnd Sub\r\n"},
                                         {"b.bas", "Sub B()\r\nEnd Sub\r\n"},
                                         {"c.bas", "Sub C()\r\nEnd Sub\r\n"}});
  std::atomic<bool> thrown{false};
  auto read = [&](const SourcePath& path, const Options& options, Encoding encoding) {
    if (path.windows() != paths[1].windows()) return ReadModulePart(path, options, encoding);
    ModulePart part;
    part.exception = std::make_exception_ptr(std::length_error("vector::reserve"));
    thrown = true;
    return part;
  };
  ParallelReading reading(paths, Options(), Encoding::kCp932, 3, read);
  // Joining starts only once a started thread has read the failing file.
  for (int i = 0; i < 500 && !thrown; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(thrown);
  SpecificationModel model;
  std::vector<bool> answers;
  for (const SourcePath& path : paths) {
    Status read = GuardedStage(path.display(), [&] {
      return reading.IsNext(path) ? reading.JoinNext(&model) : Status::Error("out of order");
    });
    answers.push_back(read.ok());
    if (!read.ok()) {
      EXPECT_EQ(read.message(),
                paths[1].display() + ": 予期しないエラーが発生しました。(vector::reserve)");
      break;
    }
  }
  EXPECT_EQ(answers, (std::vector<bool>{true, false}));
  ASSERT_EQ(model.Procedures.size(), 1u);
  EXPECT_EQ(model.Procedures[0].Name, "A");
}

}  // namespace
}  // namespace dovrek
