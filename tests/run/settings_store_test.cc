#include "run/settings_store.h"

#include <sys/inotify.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/dovrek_process.h"
#include "os/ini_profile.h"
#include "os/native_path.h"
#include "test_support.h"
#include "run/run_messages.h"

namespace dovrek {
namespace {

// The options LoadOptions reads, whatever it says of the file.
Options Loaded(const std::string& settings_path) {
  Options options;
  (void)LoadOptions(settings_path, &options);
  return options;
}

// Names in any letter case, blanks and quotes around values, other sections ignored; a value is
// cut to 1023 bytes before it is read as a flag, as the Windows profile functions cut it.
TEST(SettingsStoreTest, ReadsFlagsAsTheProfileFunctionsDo) {
  testing::TempDir dir;
  dir.Write("Dovrek.ini", "; comment\r\n[other]\r\nCMT=1\r\n[chkbox]\r\n xls = 1 \r\ntxt=\"1\"\r\n"
                          "trim=1" + std::string(1100, ' ') + "x\r\n");
  Options expected;
  expected.Xls = expected.Txt = expected.Trim = CheckState::kOn;
  EXPECT_EQ(Loaded(dir.Native("Dovrek.ini")), expected);
}

TEST(SettingsStoreTest, SavingFromScratchWritesTheSixKeysInSaveOrder) {
  testing::TempDir dir;
  Options options;
  options.Xls = CheckState::kOn;
  options.Trim = CheckState::kGreyed;
  EXPECT_TRUE(SaveOptions(dir.Native("Dovrek.ini"), options).ok());
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("Dovrek.ini")),
            "[CHKBOX]\r\nXLS=1\r\nTXT=0\r\nCMT=0\r\nDIR=0\r\nFUNC=0\r\nTRIM=2\r\n");
  EXPECT_EQ(Loaded(dir.Native("Dovrek.ini")), options);
}

TEST(SettingsStoreTest, SavingMovesTheKeysBehindOthersAndKeepsEverythingElse) {
  testing::TempDir dir;
  dir.Write("Dovrek.ini",
            "[Top]\nA=1\n[chkbox]\ntrim=1\nOther=keep \x82\xA0\nXLS=1\n\n[Tail]\nB=2");
  Options options;
  options.Cmt = CheckState::kOn;
  EXPECT_TRUE(SaveOptions(dir.Native("Dovrek.ini"), options).ok());
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("Dovrek.ini")),
            "[Top]\nA=1\n[chkbox]\nOther=keep \x82\xA0\nXLS=0\r\nTXT=0\r\nCMT=1\r\nDIR=0\r\n"
            "FUNC=0\r\nTRIM=0\r\n\n[Tail]\nB=2");
}

TEST(SettingsStoreTest, ReadsCompleteModeFromExtensionAndSavingLeavesItAlone) {
  struct Case {
    const char* extension;
    bool complete;
    SourceEncodingChoice source;
  } cases[] = {
      {"[EXTENSION]\r\nCOMPLETE=1\r\nSOURCE=utf-8\r\n", true, {Encoding::kUtf8}},
      {"[extension]\r\ncomplete = 1.0\r\nsource= CP1252 \r\n", true, {Encoding::kCp1252}},
      {"[EXTENSION]\r\nCOMPLETE=2\r\nSOURCE=auto\r\n", false, {std::nullopt, true}},
      {"[EXTENSION]\r\nCOMPLETE=0\r\nSOURCE=cp932\r\n", false, {Encoding::kCp932}},
      {"[EXTENSION]\r\nSOURCE=latin1\r\n", false, {}},
      {"[CHKBOX]\r\nCOMPLETE=1\r\nSOURCE=auto\r\n", false, {}},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    dir.Write("Dovrek.ini", c.extension);
    Options options = Loaded(dir.Native("Dovrek.ini"));
    EXPECT_EQ(options.Complete, c.complete) << c.extension;
    EXPECT_EQ(options.Source, c.source) << c.extension;
  }
  testing::TempDir dir;
  dir.Write("Dovrek.ini", "[EXTENSION]\r\nCOMPLETE=1\r\nSOURCE=auto\r\n");
  EXPECT_TRUE(SaveOptions(dir.Native("Dovrek.ini"), Loaded(dir.Native("Dovrek.ini"))).ok());
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("Dovrek.ini")),
            "[EXTENSION]\r\nCOMPLETE=1\r\nSOURCE=auto\r\n[CHKBOX]\r\nXLS=0\r\nTXT=0\r\nCMT=0\r\n"
            "DIR=0\r\nFUNC=0\r\nTRIM=0\r\n");
}

// A large settings file costs one read when loading and one read and one replacement when
// saving, however many keys there are.
TEST(SettingsStoreTest, LoadsWithOneOpenAndSavesWithOneReplacement) {
  testing::TempDir dir;
  dir.Write("Dovrek.ini", "[EXTENSION]\r\nSOURCE=utf-8\r\n[CHKBOX]\r\nXLS=1\r\n");
  std::string path = dir.Native("Dovrek.ini");
  testing::FolderEvents opens(dir.path(), IN_OPEN);
  Options options = Loaded(path);
  EXPECT_EQ(opens.CountFor("Dovrek.ini"), 1);
  testing::FolderEvents replacements(dir.path(), IN_MOVED_TO | IN_CLOSE_WRITE);
  ASSERT_TRUE(SaveOptions(path, options).ok());
  EXPECT_EQ(replacements.CountFor("Dovrek.ini"), 1);
  EXPECT_EQ(Loaded(path), options);
}

// Saving the six keys at once leaves the bytes that saving them one by one leaves, also where
// a removed key line stood between a lone CR and an empty line.
TEST(SettingsStoreTest, SavingOnceGivesTheBytesOfSavingKeyByKey) {
  const char* files[] = {
      "",
      "[Other]\r\nX=1",
      "[CHKBOX]\rXLS=1\n\nTXT=1\r\r\n[B]\r\n",
      "[chkbox]\r\n\r\nxls=1\rtxt=0\n\n\n[x]\nFUNC=1\r\n[CHKBOX]\nDIR=1",
      "A\r[CHKBOX]\rTRIM=1\rCMT=1\n\r\n",
      "[CHKBOX]\nXLS=1\nXLS=2\n; XLS=3\n",
      "[CHKBOX]\rXLS=1\n\n[B]\r\n",
  };
  Options options;
  options.Txt = CheckState::kOn;
  options.Func = static_cast<CheckState>(-1);
  for (const char* bytes : files) {
    testing::TempDir dir;
    dir.Write("once.ini", bytes);
    ASSERT_TRUE(SaveOptions(dir.Native("once.ini"), options).ok());
    IniProfile each(bytes);
    for (const auto& [key, value] : {std::pair{"XLS", "0"},
                                     {"TXT", "1"},
                                     {"CMT", "0"},
                                     {"DIR", "0"},
                                     {"FUNC", "-1"},
                                     {"TRIM", "0"}}) {
      each = IniProfile(each.Bytes());  // read afresh, as a separate save would
      each.Remove(kSettingsSection, key);
      each.Append(kSettingsSection, key, value);
    }
    EXPECT_EQ(testing::ReadFileBytes(dir.Native("once.ini")), each.Bytes())
        << ::testing::PrintToString(std::string(bytes));
  }
}

TEST(SettingsStoreTest, AMissingOrUnreadableFileGivesTheDefaultsAndSaysWhy) {
  testing::TempDir dir;
  Options options;
  options.Xls = CheckState::kOn;
  EXPECT_TRUE(LoadOptions(dir.Native("no/such/Dovrek.ini"), &options).IsNotFound());
  EXPECT_EQ(options, Options{});
  options.Xls = CheckState::kOn;
  EXPECT_EQ(LoadOptions(dir.Native(""), &options).message(),
            dir.Native("") + ": パス/ファイル アクセス エラーです。(フォルダです)");
  EXPECT_EQ(options, Options{});
}

TEST(SettingsStoreTest, SavingCreatesTheSettingsFolderAndSaysWhyItFailed) {
  testing::TempDir dir;
  EXPECT_TRUE(SaveOptions(dir.Native("config/dovrek/Dovrek.ini"), Options{}).ok());
  EXPECT_NE(testing::ReadFileBytes(dir.Native("config/dovrek/Dovrek.ini")), "<missing>");
  std::filesystem::create_directories(dir.path() / "in-the-way/Dovrek.ini");
  struct Case {
    std::string native, reason;
  } cases[] = {
      {dir.Native("in-the-way/Dovrek.ini"), "パス/ファイル アクセス エラーです。(フォルダです)"},
      {"/dev/full", "ディスクの空き容量が不足しています。"}};
  for (const Case& c : cases) {
    EXPECT_EQ(SaveOptions(c.native, Options{}).message(),
              std::string(kSettingsNotSaved) + "\n" + c.native + ": " + c.reason);
  }
}

// An existing Dovrek.ini the user may write is kept up to date even where its folder takes no
// new file, as beside an installed program.
TEST(SettingsStoreTest, SavesAWritableFileInAReadOnlyFolder) {
  testing::TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  std::string native = dir.Write("locked/Dovrek.ini", "[CHKBOX]\r\nXLS=0\r\n");
  if (auto user = testing::UnprivilegedUser()) ::chown(native.c_str(), *user, *user);
  ::chmod(dir.Native("locked").c_str(), 0555);
  Options options;
  options.Xls = CheckState::kOn;
  EXPECT_TRUE(
      testing::WithoutPrivilege([&] { return SaveOptions(native, options).ok(); }));
  EXPECT_EQ(Loaded(native), options);
  ::chmod(dir.Native("locked").c_str(), 0755);
}

// A file the user may write but not read keeps its other sections: it is not replaced.
TEST(SettingsStoreTest, AnUnreadableFileIsNotReplaced) {
  testing::TempDir dir;
  ::chmod(dir.path().c_str(), 0777);
  const std::string kept = "[OTHER]\r\nKEY=1\r\n";
  std::string native = dir.Write("Dovrek.ini", kept);
  if (auto user = testing::UnprivilegedUser()) ::chown(native.c_str(), *user, *user);
  ::chmod(native.c_str(), 0200);
  const std::string refused = std::string(kSettingsNotSaved) + "\n" + native +
                              ": 読み込みできません。(アクセスが拒否されました)";
  EXPECT_TRUE(testing::WithoutPrivilege([&] {
    return SaveOptions(native, Options{}).message() == refused;
  }));
  ::chmod(native.c_str(), 0600);
  EXPECT_EQ(testing::ReadFileBytes(native), kept);
}

// A file saved with the UTF-8 byte-order mark is read as UTF-8 and keeps its mark; one over
// the size limit is neither read nor replaced.
TEST(SettingsStoreTest, ReadsTheByteOrderMarkFormAndRefusesAHugeFile) {
  testing::TempDir dir;
  const std::string marked = "\xEF\xBB\xBF[CHKBOX]\r\nXLS=1\r\nNAME=\xE5\x80\xA4\r\n";
  std::string native = dir.Write("marked.ini", marked);
  Options options = Loaded(native);
  EXPECT_EQ(options.Xls, CheckState::kOn);
  ASSERT_TRUE(SaveOptions(native, options).ok());
  EXPECT_EQ(testing::ReadFileBytes(native),
            "\xEF\xBB\xBF[CHKBOX]\r\nNAME=\xE5\x80\xA4\r\nXLS=1\r\nTXT=0\r\nCMT=0\r\nDIR=0\r\n"
            "FUNC=0\r\nTRIM=0\r\n");

  const std::string huge = "[CHKBOX]\r\nXLS=1\r\n" + std::string(kSettingsFileLimit, ';');
  native = dir.Write("huge.ini", huge);
  options = Options();
  const std::string reason = native + ": ファイルが大きすぎます。(設定ファイルは 1 MiB まで)";
  EXPECT_EQ(LoadOptions(native, &options).message(), reason);
  EXPECT_EQ(options, Options{});
  EXPECT_EQ(SaveOptions(native, Options{}).message(),
            std::string(kSettingsNotSaved) + "\n" + reason);
  EXPECT_EQ(testing::ReadFileBytes(native), huge);
}

// A settings file that --settings names but that cannot be read refuses the batch run as bad
// usage, and no more of a huge one is read than the limit.
TEST(SettingsStoreTest, ABatchRunRefusesASettingsFileItCannotRead) {
  testing::TempDir dir;
  testing::ProgramCopy program(dir);
  const std::string settings = dir.Native("nightly.ini");
  const std::string sample = std::string(DOVREK_SOURCE_DIR) + "/examples/sample/Sample.vbp";
  struct Case {
    const char* label;
    std::function<void()> make;
    std::string reason;
  } cases[] = {
      {"a folder", [&] { std::filesystem::create_directory(settings); },
       "パス/ファイル アクセス エラーです。(フォルダです)"},
      {"100 MB",
       [&] {
         dir.Write("nightly.ini", "[CHKBOX]\r\nFUNC=1\r\n");
         std::filesystem::resize_file(settings, 100u << 20);
       },
       "ファイルが大きすぎます。(設定ファイルは 1 MiB まで)"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(settings);
    c.make();
    testing::ProcessOutcome run =
        program.Run({"-q", "--settings", settings, "-j", dir.Native("spec.json"), sample});
    EXPECT_EQ(run.exit_code, 2) << c.label;
    EXPECT_EQ(run.err, "注意: --settings に指定された設定ファイルを読み込めません。\n" + settings +
                           ": " + c.reason + "\n")
        << c.label;
    EXPECT_FALSE(std::filesystem::exists(dir.Native("spec.json"))) << c.label;
    if (!testing::kSanitized) {
      EXPECT_LT(run.max_rss_kb, 64 * 1024) << c.label;
    }
  }
}

TEST(SettingsStoreTest, FlagNumberRules) {
  struct Case {
    const char* text;
    int16_t flag;
  } cases[] = {{"1", 1},           {"0", 0},         {"", 0},    {"word", 0}, {"2", 2},
               {" 1 ", 1},         {"1.5", 2},       {"0.5", 0}, {"2.5", 2},  {"-1", -1},
               {"1e0", 1},         {"0x1", 0},       {"inf", 0}, {"1 1", 0},  {"40000", 0},
               {"-32768", -32768}, {"32767", 32767}, {"-0.5", 0}};
  for (const Case& c : cases) EXPECT_EQ(ParseFlag(c.text), c.flag) << c.text;
}

}  // namespace
}  // namespace dovrek
