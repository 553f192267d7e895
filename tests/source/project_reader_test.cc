#include "source/project_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "os/native_path.h"
#include "codepage/text_codec.h"
#include "test_support.h"

namespace dovrek {
namespace {

struct ReadResult {
  Status status;
  SpecificationModel model;
};

// Reads the bytes as they stand.
ReadResult ReadAsIs(const std::string& vbp_bytes, int16_t dir = 0, bool complete = false) {
  testing::TempDir tmp;
  tmp.Write("app/app.vbp", vbp_bytes);
  Options options;
  options.Dir = static_cast<CheckState>(dir);
  options.Complete = complete;
  ReadResult result;
  result.status =
      ReadProject(SourcePath::Locate(tmp.Windows("app/app.vbp")), options, &result.model);
  return result;
}

// Reads the bytes after the Type= line that makes them a project file.
ReadResult Read(const std::string& vbp_bytes, int16_t dir = 0, bool complete = false) {
  return ReadAsIs("Type=Exe\r\n" + vbp_bytes, dir, complete);
}

TEST(ProjectReaderTest, TakesTheSingleValueKeys) {
  ReadResult r = Read(
      EncodeCp932("Title=\"Two Words\"\r\nname=Foo\r\nName=\"Bar\"\r\nExeName32=\"a.exe\"\r\n"
                  "Command32=\"\"\r\nHelpFile=\"h.hlp\"\r\nVersionFileDescription=説明\r\n"
                  "VersionCompanyName=\"会社\"\r\nMajorVer=1\r\nMinorVer=2\r\nRevisionVer=3\r\n"
                  " Title=ignored\r\n[MS Transaction Server]\r\nAutoRefresh=1\r\n"
                  // A key counts only when "=" follows it.
                  "RevisionVersion=0\r\nNamespace=x\r\nTitle:X\r\nNames\r\n"));
  ASSERT_TRUE(r.status.ok());
  ProjectInfo expected{"Two Words", "Bar", "a.exe", "", "h.hlp", "説明", "会社", "1", "2", "3"};
  EXPECT_EQ(r.model.Project, expected);
}

TEST(ProjectReaderTest, SplitsMemberLines) {
  ReadResult r = Read(
      "Form=frmMain.frm\nForm=..\\Forms\\frm2.frm\nModule=basMain; basMain.bas\n"
      "Module=NoSemicolon.bas\nClass=clsLog; ..\\Common\\clsLog.cls\nForm=\n"
      "FormsExtra=x=y\\z.frm\nModule=basMain; basMain.bas\n");
  ASSERT_TRUE(r.status.ok());
  std::vector<MemberFile> forms = {{"frmMain.frm", ""}, {"frm2.frm", "..\\Forms"}, {"", ""}};
  std::vector<MemberFile> modules = {
      {"basMain.bas", ""}, {"NoSemicolon.bas", ""}, {"basMain.bas", ""}};
  std::vector<MemberFile> classes = {{"clsLog.cls", "..\\Common"}};
  EXPECT_EQ(r.model.Files(MemberKind::kForm), forms);
  EXPECT_EQ(r.model.Files(MemberKind::kModule), modules);
  EXPECT_EQ(r.model.Files(MemberKind::kClass), classes);
}

TEST(ProjectReaderTest, CompleteModeReadsTheFourComponentKinds) {
  const std::string vbp =
      "UserControl=ctl\\KSColor.ctl\nPropertyPage=pp.pag\nUserDocument=doc.dob\n"
      "Designer=..\\out\\rpt.Dsr\nUserControls=x.ctl\nDesignerX=y.dsr\nForm=f.frm\n";
  ReadResult plain = Read(vbp);
  ASSERT_TRUE(plain.status.ok());
  SpecificationModel only_forms;
  only_forms.Files(MemberKind::kForm) = {{"f.frm", ""}};
  EXPECT_EQ(plain.model, only_forms);
  ReadResult complete = Read(vbp, /*dir=*/1, /*complete=*/true);
  ASSERT_TRUE(complete.status.ok());
  EXPECT_EQ(complete.model.Files(MemberKind::kControl), (std::vector<MemberFile>{{"KSColor.ctl", "ctl"}}));
  EXPECT_EQ(complete.model.Files(MemberKind::kPage), (std::vector<MemberFile>{{"pp.pag", ""}}));
  EXPECT_EQ(complete.model.Files(MemberKind::kDocument), (std::vector<MemberFile>{{"doc.dob", ""}}));
  EXPECT_TRUE(complete.model.Files(MemberKind::kDesigner).empty());         // Dir on: outside the project folder
  EXPECT_FALSE(Read("UserControl\n", 0, true).status.ok());  // a bare key, as for the other members
  EXPECT_TRUE(Read("UserControl\n").status.ok());
}

TEST(ProjectReaderTest, DecodesBeforeSplittingPaths) {
  // 表 is 0x95 0x5C in code page 932: its second byte is a backslash.
  ReadResult r = Read("Form=\x95\x5C\x8E\xA6.frm\r\nModule=M; sub\\\x95\x5C.bas\r\n");
  ASSERT_TRUE(r.status.ok());
  EXPECT_EQ(r.model.Files(MemberKind::kForm), (std::vector<MemberFile>{{"表示.frm", ""}}));
  EXPECT_EQ(r.model.Files(MemberKind::kModule), (std::vector<MemberFile>{{"表.bas", "sub"}}));
}

TEST(ProjectReaderTest, AnUnusableKeyLineFailsNamingTheFileAndLine) {
  // A bare key, and a value holding a NUL byte (the system would read the name before it).
  for (const std::string& bad :
       {std::string("Form"), std::string("Form=a.frm\0b.frm", 17),
        std::string("Module=m; m.bas\0", 16), std::string("Title=\0", 7)}) {
    ReadResult r = Read("Name=x\r\nForm=a.frm\r\n" + bad + "\r\nModule=m; m.bas\r\n");
    EXPECT_EQ(r.status.kind(), Status::Kind::kBadInput) << bad;
    EXPECT_TRUE(r.status.message().ends_with(
        "/app/app.vbp(4): プロシージャの呼び出し、または引数が不正です。"))
        << r.status.message();
    EXPECT_EQ(r.model.Files(MemberKind::kForm).size(), 1u) << bad;  // what was read before the failure stays
  }
}

TEST(ProjectReaderTest, AFileWithoutATypeLineIsNoProject) {
  const std::string no_project = ": VB6 のプロジェクト ファイルではありません。";
  const std::string group =
      ": VB6 のプロジェクト グループ ファイルです。グループはコマンド ラインから実行してください。";
  struct Case {
    std::string bytes;
    Status::Kind kind;
    std::string message_end;
  } cases[] = {
      {"", Status::Kind::kWrongKind, no_project},
      {"VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nForm=x.frm\r\n", Status::Kind::kWrongKind,
       no_project},
      {"root:x:0:0:root:/root:/bin/bash\nName\n", Status::Kind::kWrongKind, no_project},
      {"TypeLib=x\r\n Type=Exe\r\n", Status::Kind::kWrongKind, no_project},
      {"VBGROUP 5.0\r\nStartupProject=a\\a.vbp\r\n", Status::Kind::kWrongKind, group},
      // A project whose Type= line follows a line that cannot be used fails at that line.
      {"Name\r\ntype=Control\r\n", Status::Kind::kBadInput,
       "(1): プロシージャの呼び出し、または引数が不正です。"},
      {"Name=n\r\ntype=OleDll\r\n", Status::Kind::kOk, ""},
  };
  for (const Case& c : cases) {
    ReadResult r = ReadAsIs(c.bytes);
    EXPECT_EQ(r.status.kind(), c.kind) << c.bytes;
    EXPECT_TRUE(r.status.message().ends_with(c.message_end)) << r.status.message();
  }
}

TEST(ProjectReaderTest, AProjectWithTypeAloneIsEmpty) {
  ReadResult r = Read("");
  EXPECT_TRUE(r.status.ok());
  EXPECT_EQ(r.model, SpecificationModel{});
}

TEST(ProjectReaderTest, DirSkipsMembersOutsideTheProjectFolder) {
  std::string vbp =
      "Form=a.frm\nForm=..\\shared\\b.frm\nModule=m; sub\\..\\m.bas\nModule=n; sub\\..\\..\\n.bas\n"
      "Class=c; \\etc\\c.cls\nClass=d; .\\d.cls\nForm=\n";
  EXPECT_EQ(Read(vbp, 0).model.Files(MemberKind::kForm).size() + Read(vbp, 0).model.Files(MemberKind::kModule).size() +
                Read(vbp, 0).model.Files(MemberKind::kClass).size(),
            7u);
  // An empty member path names the project folder: it is kept, and fails when read.
  ReadResult on = Read(vbp, 1);
  EXPECT_EQ(on.model.Files(MemberKind::kForm), (std::vector<MemberFile>{{"a.frm", ""}, {"", ""}}));
  EXPECT_EQ(on.model.Files(MemberKind::kModule), (std::vector<MemberFile>{{"m.bas", "sub\\.."}}));
  EXPECT_EQ(on.model.Files(MemberKind::kClass), (std::vector<MemberFile>{{"d.cls", "."}}));
  EXPECT_EQ(Read(vbp, 2).model.Files(MemberKind::kForm).size(), 3u);  // a greyed box counts as off
}

TEST(ProjectReaderTest, OutsideTheProjectFolderRule) {
  struct Case {
    const char* folder;
    const char* member;
    bool outside;
  } cases[] = {
      {"\\work\\app", "a.frm", false},
      {"\\work\\app", "..\\app\\a.frm", false},
      {"\\work\\app", "..\\APP\\a.frm", false},        // case-insensitive prefix
      {"\\work\\app", "..\\app2\\a.frm", true},        // prefix on "\" boundaries only
      {"\\work\\app", "..\\..\\..\\..\\a.frm", true},  // above the root
      {"\\work\\app", "\\work\\app\\x\\a.frm", false},
      {"\\work\\app", "\\other\\a.frm", true},
      {"\\work\\app", "C:\\Program Files\\a.cls", true},
      {"\\work\\app", "sub\\\\a.frm", false},
      {"\\work\\app", "", false},
      {"\\work\\app", "sub\\..", false},
      // The project folder as typed may hold "." and "..".
      {"\\work\\app\\.", "z.bas", false},
      {"\\work\\x\\..\\app", "z.bas", false},
      {"\\work\\x\\..\\app", "..\\x\\z.bas", true},
      // An absolute path is compared as it stands.
      {"\\work\\app", "\\m.bas", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LiesOutsideProjectFolder(c.folder, c.member), c.outside) << c.member;
  }
}

TEST(ProjectReaderTest, ReadsEveryCorpusProject) {
  std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no shared corpus";
  int projects = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (entry.path().extension() != ".vbp") continue;
    SpecificationModel model;
    Status read = ReadProject(SourcePath::Locate(ToWindowsPath(entry.path().string())), {}, &model);
    EXPECT_TRUE(read.ok()) << read.message();
    ++projects;
  }
  EXPECT_EQ(projects, 103);

  SpecificationModel corlib;
  ASSERT_TRUE(
      ReadProject(SourcePath::Locate(ToWindowsPath(corpus + "/vbcorlib/Source/CorLib/CorLib.vbp")),
                  Options{}, &corlib)
          .ok());
  EXPECT_EQ(corlib.Files(MemberKind::kForm).size(), 0u);
  EXPECT_EQ(corlib.Files(MemberKind::kModule).size(), 27u);
  EXPECT_EQ(corlib.Files(MemberKind::kClass).size(), 346u);
}

}  // namespace
}  // namespace dovrek
