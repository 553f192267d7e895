// Complete mode on the real projects of the shared corpus: every head the sources hold is
// listed, and with complete mode off the outputs are what they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "app/dovrek_process.h"
#include "text/line_reader.h"
#include "os/native_path.h"
#include "run/generation_driver.h"
#include "source/module_scanner.h"
#include "source/project_reader.h"
#include "test_support.h"

namespace dovrek {
namespace {

std::vector<std::string> CorpusProjects() {
  std::vector<std::string> projects;
  std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) return projects;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (entry.path().extension() == ".vbp") projects.push_back(entry.path().string());
  }
  std::sort(projects.begin(), projects.end());
  return projects;
}

// "Kind Name" of every head and declaration in the file, found line by line with a regular
// expression, apart from the scanner: physical lines after the first run of lines that begin
// with "Attribute", each an optional scope word, an optional Static, then the kind's words.
std::vector<std::string> LineScan(const std::string& native_path) {
  static const std::regex kHead(
      "^[ \t]*(?:(?:Public|Private|Friend)[ \t]+)?(?:Static[ \t]+)?"
      "(Sub|Function|Property[ \t]+(?:Get|Let|Set)|Declare[ \t]+(?:Sub|Function)|Event)"
      "[ \t]+([^ \t(:'\",]+)");
  static const std::regex kBlanks("[ \t]+");
  LineReader reader;
  std::string line;
  EXPECT_TRUE(reader.Open(native_path).ok()) << reader.status().message();
  std::vector<std::string> heads;
  bool attributes = false, code = false;
  while (reader.ReadLine(&line)) {
    bool attribute = line.starts_with("Attribute");
    if (!code) {
      attributes = attributes || attribute;
      code = attributes && !attribute;
    }
    std::smatch match;
    if (code && std::regex_search(line, match, kHead)) {
      heads.push_back(std::regex_replace(match[1].str(), kBlanks, " ") + " " + match[2].str());
    }
  }
  return heads;
}

// The same, as complete mode's scanner lists them.
std::vector<std::string> Scanned(const std::string& windows_path, const Options& options) {
  SpecificationModel model;
  Status read = ReadModule(SourcePath::Locate(windows_path), options, &model);
  EXPECT_TRUE(read.ok()) << read.message();
  std::vector<std::string> heads;
  for (const ProcedureEntry& e : model.Procedures) heads.push_back(e.Kind + " " + e.Name);
  return heads;
}

// Every member file of every corpus project that exists, once each.
std::set<std::string> ExistingMembers(const Options& options) {
  std::set<std::string> files;
  for (const std::string& project : CorpusProjects()) {
    SpecificationModel model;
    SourcePath path = SourcePath::Locate(ToWindowsPath(project));
    if (!ReadProject(path, options, &model).ok()) continue;
    for (const auto* list :
         {&model.Files(MemberKind::kForm), &model.Files(MemberKind::kModule), &model.Files(MemberKind::kClass), &model.Files(MemberKind::kControl),
          &model.Files(MemberKind::kPage), &model.Files(MemberKind::kDocument), &model.Files(MemberKind::kDesigner)}) {
      for (const MemberFile& member : *list) {
        SourcePath member_path = SourcePath::Locate(MemberPath(path.windows(), member));
        if (member_path.IsFile()) {
          files.insert(std::filesystem::canonical(member_path.found()).string());
        }
      }
    }
  }
  return files;
}

TEST(CompleteCorpusTest, ListsEveryHeadAndDeclarationTheSourcesHold) {
  if (testing::CorpusFolder().empty()) GTEST_SKIP() << "no shared corpus";
  Options options;
  options.Complete = true;
  std::set<std::string> files = ExistingMembers(options);
  size_t heads = 0, controls = 0;
  for (const std::string& file : files) {
    std::vector<std::string> expected = LineScan(file);
    EXPECT_EQ(Scanned(ToWindowsPath(file), options), expected) << file;
    heads += expected.size();
    if (file.ends_with(".ctl")) ++controls;
  }
  EXPECT_GT(heads, 15000u);
  EXPECT_EQ(controls, 14u);  // the user controls are read as well
}

// With complete mode off, by the switch over a settings file that turns it on, every output is
// what a run without the switch writes.
TEST(CompleteCorpusTest, NoCompleteWritesWhatADefaultRunWrites) {
  if (testing::CorpusFolder().empty()) GTEST_SKIP() << "no shared corpus";
  testing::TempDir dir;
  testing::ProgramCopy program(dir);
  const std::string settings = dir.Write("complete.ini", "[EXTENSION]\r\nCOMPLETE=1\r\n");
  for (const std::string& project : CorpusProjects()) {
    auto run = [&](const char* name, std::vector<std::string> extra) {
      std::vector<std::string> args = {"-q", "-t", dir.Native(name), "-j", "-", "--func"};
      args.insert(args.end(), extra.begin(), extra.end());
      args.push_back(project);
      std::filesystem::remove(dir.Native(name));
      testing::ProcessOutcome outcome = program.Run(args);
      outcome.out += testing::ReadFileBytes(dir.Native(name));
      return outcome;
    };
    testing::ProcessOutcome plain = run("plain.txt", {});
    testing::ProcessOutcome off = run("off.txt", {"--settings", settings, "--no-complete"});
    EXPECT_EQ(off.exit_code, plain.exit_code) << project;
    EXPECT_EQ(off.err, plain.err) << project;
    EXPECT_TRUE(off.out == plain.out) << project;
  }
}

}  // namespace
}  // namespace dovrek
