#include "source/complete_analysis.h"

#include <gtest/gtest.h>

#include <vector>

namespace dovrek {
namespace {

using Lines = std::vector<std::string>;

ProcedureEntry Entry(std::string kind, std::string scope, std::string name,
                     std::string parameters = "", std::string return_type = "",
                     bool is_static = false, std::string comment = "") {
  ProcedureEntry e{std::move(name),       "", "basX.bas", std::move(comment), std::move(parameters),
                   std::move(return_type)};
  e.Scope = std::move(scope);
  e.Kind = std::move(kind);
  e.Static = is_static;
  return e;
}

std::vector<ProcedureEntry> Analyse(const Lines& lines, bool func = false, bool trim = false) {
  SpecificationModel model;
  Options options;
  options.Complete = true;
  options.Func = CheckStateOf(func);
  options.Trim = CheckStateOf(trim);
  CompleteAnalysis analysis(options, &model);
  analysis.Start("basX.bas");
  for (const std::string& line : lines) analysis.Analyse(line);
  analysis.Finish();
  return model.Procedures;
}

TEST(CompleteAnalysisTest, ListsEveryKindOfHead) {
  ProcedureEntry sleep = Entry("Declare Sub", "Private", "Sleep", "ByVal ms As Long");
  sleep.Lib = "kernel32";
  ProcedureEntry tick = Entry("Declare Function", "Public", "Tick", "", "Long");
  tick.Lib = "kernel32";
  tick.Alias = "GetTickCount";
  // Joined from lines that are not indented: Lib "user32" _ / Alias "SetTimerA" _ / ( _ / ...
  ProcedureEntry timer =
      Entry("Declare Function", "Private", "SetTimer", "ByVal h As Long", "Long");
  timer.Lib = "user32";
  timer.Alias = "SetTimerA";
  const struct {
    std::string line;
    ProcedureEntry entry;
  } cases[] = {
      {"Sub Main()", Entry("Sub", "Public", "Main")},
      {"Private Function F(a) As Long", Entry("Function", "Private", "F", "a", "Long")},
      {"Friend Function Peek() As Long", Entry("Function", "Friend", "Peek", "", "Long")},
      {"Public Property Get Value() As Long", Entry("Property Get", "Public", "Value", "", "Long")},
      {"Property Let Value(ByVal v As Long)",
       Entry("Property Let", "Public", "Value", "ByVal v As Long")},
      {"Friend Property Set Item(ByVal o As Object)",
       Entry("Property Set", "Friend", "Item", "ByVal o As Object")},
      {"Private Static Function Count() As Long",
       Entry("Function", "Private", "Count", "", "Long", true)},
      {"Static Sub Tally()", Entry("Sub", "Public", "Tally", "", "", true)},
      {"  Public   Sub   Spaced()", Entry("Sub", "Public", "Spaced")},
      {"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", sleep},
      {"Public Declare Function Tick Lib \"kernel32\" Alias \"GetTickCount\" () As Long", tick},
      {"Public Event Changed(ByVal value As Long)",
       Entry("Event", "Public", "Changed", "ByVal value As Long")},
      {"Event Done", Entry("Event", "Public", "Done")},
      {"Private Declare Function SetTimer Lib \"user32\" _Alias \"SetTimerA\" _( _ByVal h As Long _"
       ") As Long",
       timer},
      {"Public Sub Broken(a As Long", Entry("Sub", "Public", "Broken", "a As Long")},
  };
  for (const auto& c : cases) {
    std::vector<ProcedureEntry> entries = Analyse({c.line});
    ASSERT_EQ(entries.size(), 1u) << c.line;
    EXPECT_EQ(entries[0], c.entry) << c.line;
  }
  for (const char* line : {"Private Subject As String", "Static Count As Long", "Public x As Long",
                           "Friend", "Private Property Gets() As Long", "Dim Sub_ As Long"}) {
    EXPECT_TRUE(Analyse({line}).empty()) << line;
  }
}

TEST(CompleteAnalysisTest, DescribesAProcedureAsPeopleWriteIt) {
  const Lines licence = {"' Licence header",
                         "",
                         "' Adds two numbers.",
                         "' Returns the sum.",
                         "Public Function Add(a, b) As Long ' pure",
                         "Attribute Add.VB_Description = \"Adds a and b\"",
                         "    ' body note",
                         "    End Function",
                         "' orphan"};
  EXPECT_EQ(Analyse(licence, true)[0].Comment,
            "Adds a and b\n Adds two numbers.\n Returns the sum.\n pure\n body note\n");
  EXPECT_EQ(Analyse(licence, false)[0].Comment, "Adds a and b\n body note\n");
  // A line of code ends the block above; a property's comments stay with the property.
  std::vector<ProcedureEntry> entries =
      Analyse({"Property Get P() As Long", "' in P", "End Property", "' stale", "Dim x As Long",
               "' above B", "Sub B(): End Sub", "Private Declare Sub S Lib \"k\" () ' sleeps"},
              true);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Comment, " in P\n");
  // A quote inside a string starts no comment.
  EXPECT_EQ(Analyse({"Sub A()", "  MsgBox \"It's \"\"x\"\"'\" ' says it", "End Sub"})[0].Comment,
            " says it\n");
  EXPECT_EQ(entries[1].Comment, " above B\n");
  EXPECT_EQ(entries[2].Comment, " sleeps\n");
}

TEST(CompleteAnalysisTest, AHeadClosesAProcedureLeftOpen) {
  std::vector<ProcedureEntry> entries =
      Analyse({"Sub A()", "  ' in A", "  End Sub", "Sub B()", "' in B", "Sub C()", "' in C"});
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Comment, " in A\n");
  EXPECT_EQ(entries[1].Comment, " in B\n");
  EXPECT_EQ(entries[2].Comment, " in C\n");
}

}  // namespace
}  // namespace dovrek
