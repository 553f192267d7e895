#include "synthetic_project.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "codepage/text_codec.h"

namespace dovrek::bench {
namespace {

// SplitMix64: small, fast and the same on every platform, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  long Below(long n) { return static_cast<long>(Next() % static_cast<uint64_t>(n)); }
  bool Percent(long p) { return Below(100) < p; }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<long>(N))];
  }

 private:
  uint64_t state_;
};

// A text in both scripts.
struct Text {
  std::string_view japanese;
  std::string_view ascii;
};

constexpr std::string_view kVerbs[] = {"Calc",  "Show", "Load", "Save",  "Check", "Update",
                                       "Print", "Find", "Make", "Clear", "Read",  "Write"};
constexpr std::string_view kNouns[] = {"Total",  "Order",  "Customer", "Stock",  "Price", "Report",
                                       "Detail", "Header", "Slip",     "Master", "Grid",  "Date"};
constexpr std::string_view kParameters[] = {"ByVal lngCount As Long",
                                            "ByRef strName As String",
                                            "Optional ByVal blnAll As Boolean = False",
                                            "ByVal dtmDate As Date",
                                            "ByRef varValues() As Variant",
                                            "ByVal curPrice As Currency",
                                            "Optional ByVal strSep As String = \",\"",
                                            "ParamArray avarArgs() As Variant"};
constexpr std::string_view kTypes[] = {"Long",     "String", "Boolean",  "Variant",
                                       "Currency", "Date",   "String()", "Collection"};
constexpr Text kPurposes[] = {{"合計金額を計算する", "Calculates the total amount"},
                              {"受注明細を画面に表示する", "Shows the order lines on the screen"},
                              {"得意先マスタを読み込む", "Loads the customer master"},
                              {"在庫数を更新する", "Updates the stock count"},
                              {"帳票を印刷する", "Prints the report"},
                              {"入力値の妥当性を検査する", "Checks the values entered"},
                              {"伝票番号を採番する", "Numbers the slip"},
                              {"一覧表を初期化する", "Clears the list"}};
constexpr Text kRemarks[] = {
    {"明細を集計する", "Sum up the lines"},
    {"０件の場合は何もしない", "Nothing to do when there are no rows"},
    {"エラー時は呼び出し元へ戻す", "On error go back to the caller"},
    {"消費税は切り捨てとする", "Round the sales tax down"},
    {"前回の値を退避する", "Keep the previous value"},
    {"画面の再描画を抑止する", "Hold back screen redraws"},
    {"①〜⑳の丸数字もそのまま表示する", "Circled numbers are shown as they are"},
    {"ﾃﾞｰﾀﾍﾞｰｽの接続を閉じる", "Close the database connection"}};
constexpr Text kStatements[] = {
    {"    lngTotal = lngTotal + lngIdx * 2", "    lngTotal = lngTotal + lngIdx * 2"},
    {"    strMsg = \"処理が完了しました。\" & CStr(lngIdx)",
     "    strMsg = \"Done.\" & CStr(lngIdx)"},
    {"    Set objItem = mcolItems.Item(lngIdx)", "    Set objItem = mcolItems.Item(lngIdx)"},
    {"    Call WriteLog(\"開始\", lngIdx)", "    Call WriteLog(\"Start\", lngIdx)"},
    {"    DoEvents", "    DoEvents"},
    {"    lngIdx = lngIdx + 1", "    lngIdx = lngIdx + 1"},
    {"    blnFound = (InStr(1, strName, \"表\", vbBinaryCompare) > 0)",
     "    blnFound = (InStr(1, strName, \"(\", vbBinaryCompare) > 0)"},
    {"    Debug.Print \"Don't stop: \" & strName", "    Debug.Print \"Don't stop: \" & strName"}};

// Writes one source file as UTF-8 lines, encoded to code page 932 at the end.
class SourceWriter {
 public:
  SourceWriter(uint64_t seed, Script script) : random_(seed), script_(script) {}

  Random& random() { return random_; }
  long lines() const { return lines_; }
  std::string Bytes() const { return EncodeCp932(utf8_); }

  // One line made of the parts; a part may itself hold line ends (a continued head).
  template <typename... Parts>
  void Line(const Parts&... parts) {
    size_t start = utf8_.size();
    (utf8_.append(parts), ...);
    utf8_.append("\r\n");
    for (size_t i = start; i < utf8_.size(); ++i) lines_ += utf8_[i] == '\n';
  }
  // The text of a randomly picked entry in this file's script.
  template <size_t N>
  std::string_view SayOneOf(const Text (&texts)[N]) {
    const Text& text = random_.Pick(texts);
    return script_ == Script::Japanese ? text.japanese : text.ascii;
  }
  std::string_view Say(const Text& text) const {
    return script_ == Script::Japanese ? text.japanese : text.ascii;
  }

 private:
  Random random_;
  Script script_;
  std::string utf8_;
  long lines_ = 0;
};

// A control of the form's description with its place in twips.
void WriteControl(SourceWriter* out, const char* cls, const std::string& name, long left, long top,
                  long width, long height, std::string_view caption) {
  out->Line("      Begin ", cls, " ", name);
  if (!caption.empty()) out->Line("         Caption         =   \"", caption, "\"");
  out->Line("         Height          =   ", std::to_string(height));
  out->Line("         Left            =   ", std::to_string(left));
  out->Line("         Top             =   ", std::to_string(top));
  out->Line("         Width           =   ", std::to_string(width));
  out->Line("      End");
}

// An entry screen as business systems have them: a frame of labelled text boxes, a combo, a
// list, a check box, options and buttons, about 25 controls.
void WriteFormHeader(SourceWriter* out, const std::string& name) {
  out->Line("VERSION 5.00");
  out->Line("Begin VB.Form ", name);
  out->Line("   Caption         =   \"", out->Say({"受注入力", "Order entry"}), "\"");
  out->Line("   ClientHeight    =   6090");
  out->Line("   ClientWidth     =   8680");
  out->Line("   Begin VB.Frame fraEntry");
  out->Line("      Caption         =   \"", out->Say({"受注情報", "Order"}), "\"");
  out->Line("      Height          =   4200");
  out->Line("      Left            =   120");
  out->Line("      Top             =   120");
  out->Line("      Width           =   5400");
  for (long i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    WriteControl(out, "VB.Label", "lblField" + n, 120, 300 + 450 * i, 1500, 255,
                 out->Say({"得意先コード", "Customer code"}));
    WriteControl(out, "VB.TextBox", "txtField" + n, 1740, 270 + 450 * i, 3400, 315, "");
  }
  out->Line("   End");
  WriteControl(out, "VB.ComboBox", "cboKind", 5700, 240, 2700, 300, "");
  WriteControl(out, "VB.ListBox", "lstItems", 5700, 720, 2700, 2160, "");
  WriteControl(out, "VB.CheckBox", "chkUrgent", 5700, 3000, 2700, 255, out->Say({"至急", "Urgent"}));
  for (long i = 0; i < 3; ++i) {
    WriteControl(out, "VB.OptionButton", "optPay(" + std::to_string(i) + ")", 5700, 3400 + 330 * i,
                 2700, 255, out->Say({"現金", "Cash"}));
  }
  WriteControl(out, "VB.CommandButton", "cmdOK", 4560, 5400, 1215, 375, out->Say({"登録(&O)", "&OK"}));
  WriteControl(out, "VB.CommandButton", "cmdCancel", 5880, 5400, 1215, 375,
               out->Say({"取消", "Cancel"}));
  WriteControl(out, "VB.CommandButton", "cmdClose", 7200, 5400, 1215, 375, out->Say({"閉じる", "Close"}));
  out->Line("End");
  out->Line("Attribute VB_Name = \"", name, "\"");
  out->Line("Attribute VB_GlobalNameSpace = False");
  out->Line("Attribute VB_Creatable = False");
  out->Line("Attribute VB_PredeclaredId = True");
  out->Line("Attribute VB_Exposed = False");
}

void WriteClassHeader(SourceWriter* out, const std::string& name) {
  out->Line("VERSION 1.0 CLASS");
  out->Line("BEGIN");
  out->Line("  MultiUse = -1  'True");
  out->Line("  Persistable = 0  'NotPersistable");
  out->Line("END");
  out->Line("Attribute VB_Name = \"", name, "\"");
  out->Line("Attribute VB_GlobalNameSpace = False");
  out->Line("Attribute VB_Creatable = True");
  out->Line("Attribute VB_Exposed = False");
}

void WriteDeclarations(SourceWriter* out) {
  out->Line("Option Explicit");
  out->Line("'----- ", out->Say({"モジュール変数", "Module variables"}), " -----");
  out->Line("Private mlngCount As Long            ' ", out->Say({"件数", "Count"}));
  out->Line("Private mcolItems As Collection");
  if (out->random().Percent(50)) {
    out->Line("Private Declare Function GetTickCount Lib \"kernel32\" () As Long");
  }
  if (out->random().Percent(30)) {
    out->Line("Public Declare Sub Sleep Lib \"kernel32\" (ByVal dwMilliseconds As Long)");
  }
  out->Line("Public Const MAX_ROWS As Long = 100");
  out->Line("");
}

void WriteHeadComment(SourceWriter* out, const std::string& name) {
  out->Line("'******************************************************************************");
  out->Line("' ", out->Say({"名称　　：", "Name    : "}), name);
  out->Line("' ", out->Say({"機能　　：", "Purpose : "}), out->SayOneOf(kPurposes));
  out->Line("' ", out->Say({"引数　　：なし", "Args    : none"}));
  out->Line("'******************************************************************************");
}

std::string ParameterList(Random* random, bool continued) {
  long count = random->Below(4);
  std::string list;
  for (long i = 0; i < count; ++i) {
    if (i > 0) list += continued ? ", _\r\n    " : ", ";
    list += random->Pick(kParameters);
  }
  return list;
}

// About one line in three is a whole comment line, as in real code: remarks alone or in pairs,
// ''' lines, and trailing comments besides.
void WriteBody(SourceWriter* out, long length, std::string_view exit) {
  out->Line("    Dim lngIdx As Long");
  for (long i = 0; i < length; ++i) {
    switch (out->random().Below(13)) {
      case 0:
      case 1:
      case 2:
        out->Line("    ' ", out->SayOneOf(kRemarks));
        break;
      case 3:
        out->Line("    If lngIdx > MAX_ROWS Then ' ", out->SayOneOf(kRemarks));
        out->Line("        ", exit);
        out->Line("    End If");
        break;
      case 4:
        out->Line("    Call ShowMessage(\"", out->Say({"確認してください。", "Please check."}),
                  "\", _");
        out->Line("        vbInformation)");
        break;
      case 5:
        out->Line("    ''' ", out->SayOneOf(kRemarks));
        break;
      case 6:
        out->Line("    ' ", out->SayOneOf(kRemarks));
        out->Line("    '   ", out->SayOneOf(kRemarks));
        break;
      default:
        out->Line(out->SayOneOf(kStatements));
    }
  }
}

// Writes one procedure and answers whether it has a head that is recorded: property
// procedures and Friend and Static ones are written but not recorded.
bool WriteProcedure(SourceWriter* out, long serial) {
  Random& random = out->random();
  std::string name =
      std::string(random.Pick(kVerbs)) + std::string(random.Pick(kNouns)) + std::to_string(serial);
  long kind = random.Below(20);
  if (random.Percent(60)) WriteHeadComment(out, name);
  const char* scope = random.Percent(45) ? "Public " : random.Percent(80) ? "Private " : "";
  std::string parameters = ParameterList(&random, random.Percent(15));
  if (kind < 2) {
    const char* accessor = kind == 0 ? "Get " : "Let ";
    out->Line("Public Property ", accessor, name,
              kind == 0 ? "() As Long" : "(ByVal lngNew As Long)");
    out->Line("    ' ", out->Say({"プロパティの値を返す", "The value of the property"}));
    out->Line("    ", kind == 0 ? name + " = mlngCount" : "mlngCount = lngNew");
    out->Line("End Property");
    out->Line("");
    return false;
  }
  if (kind < 3) {
    bool is_friend = random.Percent(50);
    out->Line(is_friend ? "Friend Sub " : "Static Sub ", name, "(", parameters, ")");
    WriteBody(out, 2, "Exit Sub");
    out->Line("End Sub");
    out->Line("");
    return false;
  }
  if (kind < 10) {
    // Now and then the return type goes on a line of its own.
    const char* before_as = random.Percent(10) ? " _\r\n    As " : " As ";
    out->Line(scope, "Function ", name, "(", parameters, ")", before_as, random.Pick(kTypes));
    WriteBody(out, 3 + random.Below(30), "Exit Function");
    out->Line("    ", name, " = lngTotal");
    out->Line("End Function");
  } else {
    out->Line(scope, "Sub ", name, "(", parameters, ")");
    WriteBody(out, 3 + random.Below(30), "Exit Sub");
    out->Line("End Sub");
  }
  out->Line("");
  return true;
}

const char* Extension(MemberKind kind) {
  switch (kind) {
    case MemberKind::Form:
      return ".frm";
    case MemberKind::Module:
      return ".bas";
    case MemberKind::Class:
      return ".cls";
  }
  return "";
}

const char* Prefix(MemberKind kind) {
  switch (kind) {
    case MemberKind::Form:
      return "frm";
    case MemberKind::Module:
      return "bas";
    case MemberKind::Class:
      return "cls";
  }
  return "";
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The project file's line for a member.
std::string MemberLine(MemberKind kind, const std::string& name, const std::string& file) {
  switch (kind) {
    case MemberKind::Form:
      return "Form=" + file + "\r\n";
    case MemberKind::Module:
      return "Module=" + name + "; " + file + "\r\n";
    case MemberKind::Class:
      return "Class=" + name + "; " + file + "\r\n";
  }
  return "";
}

bool Reached(const ProjectSize& size, const GeneratedProject& project) {
  return (size.lines > 0 && project.lines >= size.lines) ||
         (size.procedures > 0 && project.procedures >= size.procedures);
}

}  // namespace

SyntheticFile SyntheticSource(MemberKind kind, const std::string& name, uint64_t seed, long lines,
                              Script script, long max_procedures) {
  SourceWriter out(seed, script);
  if (kind == MemberKind::Form) WriteFormHeader(&out, name);
  if (kind == MemberKind::Class) WriteClassHeader(&out, name);
  if (kind == MemberKind::Module) out.Line("Attribute VB_Name = \"", name, "\"");
  WriteDeclarations(&out);
  SyntheticFile file;
  for (long serial = 1; out.lines() < lines; ++serial) {
    if (max_procedures > 0 && file.procedures >= max_procedures) break;
    file.procedures += WriteProcedure(&out, serial);
  }
  file.bytes = out.Bytes();
  file.lines = out.lines();
  return file;
}

GeneratedProject GenerateProject(const std::string& folder, uint64_t seed, const ProjectSize& size,
                                 Script script, long average_lines) {
  if (size.lines <= 0 && size.procedures <= 0) {
    throw std::runtime_error("give a number of lines or of procedures");
  }
  std::filesystem::create_directories(folder);
  Random random(seed);
  GeneratedProject project;
  std::string vbp = "Type=Exe\r\n";
  while (!Reached(size, project)) {
    long pick = random.Below(10);
    MemberKind kind = pick < 3   ? MemberKind::Form
                      : pick < 7 ? MemberKind::Module
                                 : MemberKind::Class;
    char number[24];
    std::snprintf(number, sizeof number, "%05ld", project.files + 1);
    std::string name = Prefix(kind) + std::string(number);
    std::string file_name = name + Extension(kind);
    long procedures_left = size.procedures > 0 ? size.procedures - project.procedures : 0;
    long length = average_lines / 2 + random.Below(std::max(1L, average_lines));
    SyntheticFile file =
        SyntheticSource(kind, name, random.Next(), length, script, procedures_left);
    WriteFile(std::filesystem::path(folder) / file_name, file.bytes);
    vbp += MemberLine(kind, name, file_name);
    ++project.files;
    project.lines += file.lines;
    project.procedures += file.procedures;
  }
  vbp += "Name=\"Synthetic\"\r\n";
  vbp += script == Script::Japanese ? "Title=\"合成プロジェクト\"\r\n" : "Title=\"Synthetic\"\r\n";
  vbp += "ExeName32=\"Synthetic.exe\"\r\nMajorVer=1\r\nMinorVer=0\r\nRevisionVer=0\r\n";
  project.vbp_path = (std::filesystem::path(folder) / "Synthetic.vbp").string();
  WriteFile(project.vbp_path, EncodeCp932(vbp));
  return project;
}

}  // namespace dovrek::bench
