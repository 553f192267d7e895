// Runs the dovrek program on member files, project files and templates nobody planned for.
// Each run must end, without a crash, either in a correct report or in a failed run whose
// message names the file, and a failed run must leave an earlier report as it was.

#include <sys/stat.h>
#include <zip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "workbook/template_fixture.h"
#include "workbook/workbook.h"
#include "app/dovrek_process.h"

namespace dovrek {
namespace {

using testing::ProcessOutcome;
using testing::ProgramCopy;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr char kEarlier[] = "earlier report\r\n";
constexpr char kGoodModule[] =
    "Attribute VB_Name = \"basGood\"\r\n"
    "Public Sub Good()\r\n"
    "    ' keeps going\r\n"
    "End Sub\r\n";

class FaultInputTest : public ::testing::Test {
 protected:
  FaultInputTest() : program(dir) {}

  // Runs the program on p/p.vbp with all three outputs; the two report files start as an
  // earlier report.
  ProcessOutcome RunProject() {
    dir.Write("out/spec.txt", kEarlier);
    dir.Write("out/spec.xlsx", kEarlier);
    std::filesystem::remove(dir.path() / "out/spec.json");
    return program.Run({"-q", "-t", dir.Native("out/spec.txt"), "-x", dir.Native("out/spec.xlsx"),
                        "-j", dir.Native("out/spec.json"), dir.Native("p/p.vbp")},
                       {.timeout = std::chrono::seconds(20)});
  }

  // A failed run: exit 1, one error line naming the file, the earlier reports untouched.
  void ExpectFailureNaming(const ProcessOutcome& run, const std::string& named,
                           const std::string& label) {
    EXPECT_FALSE(run.timed_out) << label;
    EXPECT_EQ(run.signal, 0) << label;
    EXPECT_EQ(run.exit_code, 1) << label << ": " << run.err;
    EXPECT_EQ(run.err.rfind("エラー: ", 0), 0u) << label << ": " << run.err;
    EXPECT_NE(run.err.find(named), std::string::npos) << label << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << label << ": " << run.err;
    EXPECT_EQ(ReadFileBytes(dir.Native("out/spec.txt")), kEarlier) << label;
    EXPECT_EQ(ReadFileBytes(dir.Native("out/spec.xlsx")), kEarlier) << label;
    EXPECT_EQ(ReadFileBytes(dir.Native("out/spec.json")), "<missing>") << label;
    ExpectNoTemporaryLeft(label);
  }

  // A successful run: exit 0, nothing on standard error, all three reports complete.
  void ExpectSuccess(const ProcessOutcome& run, const std::string& label) {
    EXPECT_FALSE(run.timed_out) << label;
    EXPECT_EQ(run.exit_code, 0) << label << ": " << run.err;
    EXPECT_EQ(run.err, "") << label;
    EXPECT_NE(ReadFileBytes(dir.Native("out/spec.txt")).find("\x81\x9B"), std::string::npos)
        << label;  // ○
    EXPECT_NO_THROW(Workbook::Open(dir.Native("out/spec.xlsx"))) << label;
    EXPECT_EQ(ReadFileBytes(dir.Native("out/spec.json")).back(), '\n') << label;
    ExpectNoTemporaryLeft(label);
  }

  void ExpectNoTemporaryLeft(const std::string& label) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out")) {
      EXPECT_EQ(entry.path().filename().string().rfind(".dovrek-", 0), std::string::npos) << label;
    }
  }

  std::string Json() { return ReadFileBytes(dir.Native("out/spec.json")); }

  TempDir dir;
  ProgramCopy program;
};

// Member files that cannot be read as text fail the run naming the member.
TEST_F(FaultInputTest, MembersThatAreNoFilesFailNamingThem) {
  struct Case {
    const char* label;
    const char* member;
    std::function<void(const std::string&)> make;
    const char* reason;
  } cases[] = {
      {"folder", "dir.bas", [](const std::string& p) { std::filesystem::create_directory(p); },
       "パス/ファイル アクセス エラーです。(フォルダです)"},
      {"FIFO without a writer", "pipe.bas", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); },
       "通常のファイルではありません。"},
      {"missing", "gone.bas", [](const std::string&) {}, "ファイルが見つかりません。"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir.path() / "p");
    dir.Write("p/p.vbp", std::string("Type=Exe\r\nModule=basGood; good.bas\r\nModule=x; ") +
                             c.member + "\r\n");
    dir.Write("p/good.bas", kGoodModule);
    c.make(dir.Native("p/") + c.member);
    ProcessOutcome run = RunProject();
    ExpectFailureNaming(run, c.member, c.label);
    EXPECT_NE(run.err.find(std::string(c.member) + ": " + c.reason), std::string::npos)
        << c.label << run.err;
  }
}

// Odd but readable members give a correct report: nothing is invented from them, and the
// procedures of the other members are all there.
TEST_F(FaultInputTest, OddMembersGiveACorrectReport) {
  std::string utf16_text;
  for (char c : std::string(kGoodModule)) utf16_text += std::string{c, '\0'};
  struct Case {
    const char* label;
    std::string bytes;
    std::vector<std::string> expected;  // in the JSON dump
  } cases[] = {
      // A form of 11,646 NUL bytes, as one of the corpus projects holds.
      {"NUL-filled", std::string(11646, '\0'), {}},
      {"empty", "", {}},
      // Invalid code page 932: a lead byte before a blank or at the line's end becomes U+FFFD and
      // the next byte is read on its own; an unassigned pair is one U+FFFD and the trail byte.
      {"invalid code page 932",
       "Attribute VB_Name = \"x\"\r\nPublic Sub Bad\x81()\r\n    ' a\x81 b \x85\x40 c\x82\r\nEnd "
       "Sub\r\n",
       {"\"Name\": \"Bad\xEF\xBF\xBD\"",
        "\"Comment\": \" a\xEF\xBF\xBD b \xEF\xBF\xBD@ c\xEF\xBF\xBD\\n\""}},
      // UTF-16 with its mark is read as UTF-16; without it, as code page 932, where it holds
      // no procedure head.
      {"UTF-16 with mark", "\xFF\xFE" + utf16_text, {"\"FileName\": \"odd.frm\""}},
      {"UTF-16 without mark", utf16_text, {}},
      {"binary",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0\0\0\r\n\r\0\n\xFF\xFE\xFD",
                   21),
       {}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir.path() / "p");
    dir.Write("p/p.vbp", "Type=Exe\r\nForm=odd.frm\r\nModule=basGood; good.bas\r\n");
    dir.Write("p/good.bas", kGoodModule);
    dir.Write("p/odd.frm", c.bytes);
    ProcessOutcome run = RunProject();
    ExpectSuccess(run, c.label);
    std::string json = Json();
    EXPECT_NE(json.find("\"Name\": \"Good\""), std::string::npos) << c.label;
    size_t procedures = 0;
    for (size_t at = json.find("\"Scope\""); at != std::string::npos;
         at = json.find("\"Scope\"", at + 1))
      ++procedures;
    EXPECT_EQ(procedures, 1 + (c.expected.empty() ? 0 : 1)) << c.label << json;
    for (const std::string& part : c.expected)
      EXPECT_NE(json.find(part), std::string::npos) << c.label << json;
  }
}

// A project file of random bytes (NULs included) after its Type= line is read line by line like
// any other: the run
// ends in a report or in a failure naming the project file or a member.
TEST_F(FaultInputTest, BinaryProjectFileNeitherCrashesNorHangs) {
  std::mt19937 random(20240607);
  for (int round = 0; round < 4; ++round) {
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    std::filesystem::remove_all(dir.path() / "p");
    dir.Write("p/p.vbp", "Type=Exe\r\n" + bytes);
    ProcessOutcome run = RunProject();
    std::string label = "round " + std::to_string(round);
    ASSERT_FALSE(run.timed_out) << label;
    ASSERT_EQ(run.signal, 0) << label;
    if (run.exit_code == 0) {
      ExpectSuccess(run, label);
    } else {
      ExpectFailureNaming(run, dir.Native("p/"), label);
    }
  }
  // The same with a key line that cannot be used: the failure names the file and its line.
  dir.Write("p/p.vbp", std::string("Type=Exe\r\n\0\xFF\x01\r\n", 15) + "Title=x\r\nName\r\n");
  ProcessOutcome run = RunProject();
  ExpectFailureNaming(run, dir.Native("p/p.vbp") + "(4): ", "bare key");
}

// A copy of the built template with a part of `size` zero bytes added, deflated from a sparse
// file so that neither the test nor the package holds the zeros.
std::string TemplateWithZeroPart(const TempDir& dir, const std::string& file,
                                 const std::string& part, off_t size) {
  std::string zeros = dir.Native("zeros.bin");
  std::filesystem::copy_file(testing::BuiltTemplatePath(), dir.Native(file));
  EXPECT_EQ(::truncate(dir.Write("zeros.bin", "").c_str(), size), 0);
  int code = 0;
  zip_t* archive = zip_open(dir.Native(file).c_str(), 0, &code);
  zip_source_t* source = zip_source_file(archive, zeros.c_str(), 0, -1);
  EXPECT_GE(zip_file_add(archive, part.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
  EXPECT_EQ(zip_close(archive), 0);
  std::filesystem::remove(zeros);
  return dir.Native(file);
}

// A package whose headers state a part is 16 bytes long while its data inflates to 1 MiB.
std::string TemplateUnderstatingAPart(const TempDir& dir) {
  std::string bytes =
      ReadFileBytes(TemplateWithZeroPart(dir, "liar.xlt", "xl/media/liar.bin", 1 << 20));
  const std::string name = "xl/media/liar.bin";
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  for (size_t at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 1)) {
    if (bytes.compare(at - 30, 4, "PK\x03\x04") == 0) put32(at - 30 + 22, 16);  // local header
    if (bytes.compare(at - 46, 4, "PK\x01\x02") == 0) put32(at - 46 + 24, 16);  // central directory
  }
  return dir.Write("liar.xlt", bytes);
}

// Templates the workbook cannot be made from fail the run naming the template.
TEST_F(FaultInputTest, UnusableTemplatesFailNamingThem) {
  using testing::TemplateVariant;
  std::string built = ReadFileBytes(testing::BuiltTemplatePath());
  ZipPackage without_book = ZipPackage::Read(testing::BuiltTemplatePath());
  without_book.Remove("xl/workbook.xml");
  struct Case {
    const char* label;
    std::string path;
    const char* named;
  } cases[] = {
      {"legacy binary workbook",
       dir.Write("t/legacy.xlt",
                 std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(4096, '\0')),
       "旧形式"},
      {"empty file", dir.Write("t/empty.xlt", ""), "zip"},
      {"cut short", dir.Write("t/half.xlt", built.substr(0, built.size() / 2)), "zip"},
      {"zip without a workbook part", dir.Write("t/nobook.xlt", without_book.ToBytes()),
       "xl/workbook.xml"},
      {"zip bomb", TemplateWithZeroPart(dir, "t/bomb.xlt", "xl/media/huge.bin", (64 << 20) + 1),
       "huge.bin"},
      {"part larger than its header says", TemplateUnderstatingAPart(dir),
       "liar.bin が壊れています (記録された大きさより長いデータです)"},
      {"defined name on another sheet",
       TemplateVariant(dir, "t/elsewhere.xlt", "xl/workbook.xml", "'処理概要'!$B$5", "'表紙'!$B$5"),
       "DESCRIPTION"},
      {"defined name of a range",
       TemplateVariant(dir, "t/range.xlt", "xl/workbook.xml", "'表紙'!$C$5", "'表紙'!$C$5:$C$6"),
       "TITLE"},
  };
  dir.Write("p/p.vbp", "Type=Exe\r\nModule=basGood; good.bas\r\n");
  dir.Write("p/good.bas", kGoodModule);
  for (const Case& c : cases) {
    std::filesystem::copy_file(c.path, program.template_path(),
                               std::filesystem::copy_options::overwrite_existing);
    ProcessOutcome run = RunProject();
    ExpectFailureNaming(run, program.template_path() + ": ", c.label);
    EXPECT_NE(run.err.find(c.named), std::string::npos) << c.label << ": " << run.err;
    if (!testing::kSanitized) {
      EXPECT_LT(run.max_rss_kb, 200 * 1024) << c.label;
    }
  }
}

}  // namespace
}  // namespace dovrek
