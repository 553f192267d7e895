// The screens of every window member of the shared corpus, as complete mode's JSON gives them,
// checked against the sources read apart from the program: one control per Begin line of the
// description (menus included) with the position the source writes, every "<control>_<event>"
// Sub mapped to its control, and no caption of a code page 932 project garbled.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "app/dovrek_process.h"
#include "text/line_reader.h"
#include "base/text_helpers.h"
#include "test_support.h"

namespace dovrek {
namespace {

using nlohmann::json;

struct SourceObject {
  std::string name;
  std::string left, top, width, height;
};

// The objects a description opens with "Begin", the window first, each with the position
// lines written directly in it (not in a property group), as regular expressions find them.
std::vector<SourceObject> DescriptionObjects(const std::string& native_path,
                                            const std::string& encoding) {
  static const std::regex kBegin("^[ \t]*Begin[ \t]+[^ \t]+[ \t]+([^ \t\r]+)");
  static const std::regex kPosition("^[ \t]*(Left|Top|Width|Height)[ \t]*=[ \t]*([^ \t'\r]+)");
  LineReader reader(EncodingNamed(encoding).value_or(Encoding::kCp932));
  EXPECT_TRUE(reader.Open(native_path).ok()) << native_path;
  std::vector<SourceObject> objects;
  std::vector<size_t> open;
  int groups = 0;
  for (std::string line; reader.ReadLine(&line);) {
    if (line.starts_with("Attribute")) break;
    std::smatch match;
    const std::string trimmed = std::string(TrimSpaces(line));
    if (std::regex_search(line, match, kBegin)) {
      open.push_back(objects.size());
      objects.push_back({match[1].str(), "", "", "", ""});
    } else if (trimmed.starts_with("BeginProperty")) {
      ++groups;
    } else if (trimmed.starts_with("EndProperty")) {
      --groups;
    } else if (trimmed == "End" || trimmed == "End\r") {
      if (!open.empty()) open.pop_back();
    } else if (groups == 0 && !open.empty() && std::regex_search(line, match, kPosition)) {
      SourceObject& object = objects[open.back()];
      std::string* field = match[1] == "Left" ? &object.left : match[1] == "Top" ? &object.top
                           : match[1] == "Width" ? &object.width : &object.height;
      if (field->empty()) *field = match[2].str();
    }
  }
  return objects;
}

std::string MemberNative(const std::string& project, const json& member) {
  std::string folder = member["Folder"].get<std::string>();
  std::replace(folder.begin(), folder.end(), '\\', '/');
  std::filesystem::path path = std::filesystem::path(project).parent_path();
  if (!folder.empty()) path /= folder;
  return (path / member["FileName"].get<std::string>()).lexically_normal().string();
}

TEST(ScreensCorpusTest, EveryWindowOfTheCorpusIsDescribedAsItsSourceSays) {
  const std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  testing::TempDir dir;
  const testing::ProgramCopy program(dir);
  int screens = 0, controls = 0, events = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (entry.path().extension() != ".vbp") continue;
    const std::string project = entry.path().string();
    const std::string out = dir.Native("model.json");
    std::filesystem::remove(out);
    program.Run({"-q", "--complete", "-j", out, project});
    if (!std::filesystem::exists(out)) continue;  // a project with missing members
    const json model = json::parse(testing::ReadFileBytes(out));
    std::map<std::string, std::string> paths;
    for (const char* list : {"forms", "controls", "pages", "documents"}) {
      for (const json& member : model[list]) paths[member["FileName"]] = MemberNative(project, member);
    }
    for (const json& screen : model["screens"]) {
      const std::string path = paths[screen["FileName"]];
      const std::vector<SourceObject> source = DescriptionObjects(path, model["encoding"]);
      ASSERT_FALSE(source.empty()) << path;
      const json& listed = screen["Controls"];
      ASSERT_EQ(listed.size() + 1, source.size()) << path;
      EXPECT_EQ(screen["Name"], source[0].name) << path;
      for (size_t i = 0; i < listed.size(); ++i) {
        const SourceObject& object = source[i + 1];
        EXPECT_EQ(listed[i]["Name"], object.name) << path;
        EXPECT_EQ(listed[i]["Left"], object.left) << path << " " << object.name;
        EXPECT_EQ(listed[i]["Top"], object.top) << path << " " << object.name;
        EXPECT_EQ(listed[i]["Width"], object.width) << path << " " << object.name;
        EXPECT_EQ(listed[i]["Height"], object.height) << path << " " << object.name;
        if (model["encoding"] == "cp932") {
          EXPECT_EQ(listed[i]["Caption"].get<std::string>().find("\xEF\xBF\xBD"), std::string::npos)
              << path << " " << object.name;
        }
      }
      std::set<std::string> handled;
      for (const json& event : screen["Events"]) handled.insert(event["Procedure"]);
      for (const json& procedure : model["procedures"]) {
        if (procedure["FileName"] != screen["FileName"] || procedure["Kind"] != "Sub") continue;
        const std::string name = procedure["Name"];
        const size_t cut = name.rfind('_');
        if (cut == std::string::npos) continue;
        const bool on_screen = std::any_of(listed.begin(), listed.end(), [&](const json& c) {
          return EqualsNoCase(c["Name"].get<std::string>(), name.substr(0, cut));
        });
        if (on_screen) {
          EXPECT_TRUE(handled.count(name)) << path << " " << name;
        }
        events += on_screen;
      }
      ++screens;
      controls += static_cast<int>(listed.size());
    }
  }
  EXPECT_GT(screens, 100);
  EXPECT_GT(controls, 1000);
  EXPECT_GT(events, 100);
}

}  // namespace
}  // namespace dovrek
