#include "text/encoding_decision.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "codepage/text_codec.h"
#include "test_support.h"

namespace dovrek {
namespace {

TEST(EncodingDecisionTest, DecidesOnceForAllFiles) {
  const std::string japanese = EncodeCp932("' 在庫を追加する\r\nSub A()\r\n");
  const std::string french = "' Cr\xE9\xE9 par Fran\xE7ois \x96 l'\xE9t\xE9\r\n";  // cp1252
  const std::string spanish_utf8 = "' A\xC3\xB1o de creaci\xC3\xB3n\r\n";
  const struct {
    const char* what;
    std::vector<std::string> files;
    Encoding decided;
  } cases[] = {
      {"all ASCII", {"Sub A()\r\n", "' plain\r\n"}, Encoding::kCp932},
      {"every file valid UTF-8", {"Sub A()\r\n", spanish_utf8}, Encoding::kUtf8},
      {"one file not UTF-8 decides for all", {spanish_utf8, japanese}, Encoding::kCp932},
      {"Japanese", {japanese}, Encoding::kCp932},
      {"bytes code page 932 cannot hold", {"' \xFC\x20x\r\n"}, Encoding::kCp1252},
      {"Western text that also reads as code page 932", {french}, Encoding::kCp1252},
      {"a byte-order mark decides for its own file only",
       {"\xEF\xBB\xBF' \xE6\x97\xA5\r\n", japanese},
       Encoding::kCp932},
  };
  for (const auto& c : cases) {
    EncodingDecision decision;
    for (const std::string& bytes : c.files) decision.Add(bytes);
    EXPECT_EQ(decision.Decide(), c.decided) << c.what;
  }
}

TEST(EncodingDecisionTest, TellsTheCorpusProjectsApart) {
  std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no shared corpus";
  const struct {
    const char* folder;
    Encoding decided;
  } cases[] = {
      {"cairo-vb6/CSTools", Encoding::kCp1252},
      {"yawase-jp/Yawase/Class", Encoding::kCp932},
      {"vb6programs-jp/src", Encoding::kCp932},
  };
  for (const auto& c : cases) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(corpus + "/" + c.folder)) {
      if (e.is_regular_file()) files.push_back(e.path().string());
    }
    EXPECT_EQ(DecideEncodingOfFiles(files), c.decided) << c.folder;
  }
}

// A FIFO among the files (a member name pointing at one) is passed over instead of waiting for a
// writer that never comes.
TEST(EncodingDecisionTest, PassesOverAFifoWithoutWaiting) {
  testing::TempDir dir;
  const std::string fifo = dir.Native("m.bas");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string text = dir.Write("a.bas", "' A\xC3\xB1o de creaci\xC3\xB3n\r\n");
  auto decided = std::async(std::launch::async, [&] {
    return DecideEncodingOfFiles({fifo, text});
  });
  const bool done = decided.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  if (!done) ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets a waiting open go on
  EXPECT_TRUE(done);
  EXPECT_EQ(decided.get(), Encoding::kUtf8);
}

}  // namespace
}  // namespace dovrek
