#include "os/folder_listings.h"

#include <sys/inotify.h>

#include <gtest/gtest.h>

#include "os/native_path.h"
#include "os/source_path.h"
#include "test_support.h"

namespace dovrek {
namespace {

// A name that exists exactly wins; otherwise the first name in byte order that matches but
// for ASCII letter case, in every component, then the same for the name's code page 932
// bytes (as old unzip tools leave Japanese names: ア.BAS, 表/ヂ.bas); the same with a shared
// listing as without.
TEST(FolderListingsTest, FindsPathsByTheSameRuleWithAndWithoutListings) {
  testing::TempDir dir;
  for (const char* name : {"Ab.bas", "aB.bas", "AB.BAS", "x.frm", "Sub/Deep.cls", "\xC3\x84.bas",
                           "\x83\x41.BAS", "\x95\x5C/\x83\x61.bas"}) {
    dir.Write(name, "");
  }
  struct Case {
    const char* asked;
    const char* found;  // "" for none
  } cases[] = {{"ab.bas", "AB.BAS"},
               {"aB.bas", "aB.bas"},
               {"X.FRM", "x.frm"},
               {"SUB/deep.CLS", "Sub/Deep.cls"},
               {"sub//DEEP.cls", "Sub/Deep.cls"},
               {"none.bas", ""},
               {"\xC3\xA4.bas", ""},
               {"\xE3\x82\xA2.bas", "\x83\x41.BAS"},
               {"\xE8\xA1\xA8/\xE3\x83\x82.bas", "\x95\x5C/\x83\x61.bas"},
               {"\xE8\xA1\xA8/\xE3\x82\xA2.bas", ""},  // ア is 0x83 0x41, ヂ 0x83 0x61
               {"x.frm/y", ""}};
  FolderListings listings;
  for (const Case& c : cases) {
    std::string expected = *c.found ? dir.Native(c.found) : "";
    for (FolderListings* shared : {&listings, static_cast<FolderListings*>(nullptr)}) {
      EXPECT_EQ(FindExistingPath(dir.Native(c.asked), shared).value_or(""), expected) << c.asked;
    }
  }
}

TEST(FolderListingsTest, ListsAFolderOnceForManyLookups) {
  testing::TempDir dir;
  for (int i = 0; i < 5; ++i) dir.Write("M" + std::to_string(i) + ".BAS", "");
  testing::FolderEvents listed(dir.path(), IN_OPEN);
  FolderListings listings;
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(
        SourcePath::Locate(dir.Windows("m" + std::to_string(i) + ".bas"), listings).IsFile());
  }
  EXPECT_EQ(listed.CountFor(""), 1);
}

}  // namespace
}  // namespace dovrek
