#include "source/procedure_head.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

struct HeadCase {
  std::string_view head_text;
  bool is_function;
  HeadCut cut;
  std::string_view name;
  std::string_view parameters;
  std::string_view return_type;
};

TEST(ProcedureHeadTest, CutsNameParametersAndReturnType) {
  const HeadCase cases[] = {
      {"Form_Load()", false, HeadCut::Made, "Form_Load", "", ""},
      {"Calc(ByVal a As Long, b As String) As Boolean", true, HeadCut::Made, "Calc",
       "ByVal a As Long, b As String", "Boolean"},
      {"Total(x)", true, HeadCut::Made, "Total", "x", ""},
      {" Spaced (a) ", false, HeadCut::Made, "Spaced", "a", ""},
      {"Sum(a) As Long", false, HeadCut::Made, "Sum", "a", ""},  // a Sub has no return type
      // Continuation joins: four blanks of indentation leave none, three leave one.
      {"Calc(ByVal a As Long, _    ByVal b As Long) As Long", true, HeadCut::Made, "Calc",
       "ByVal a As Long,ByVal b As Long", "Long"},
      {"Calc(ByVal a As Long, _   ByVal b As Long) As Long", true, HeadCut::Made, "Calc",
       "ByVal a As Long, ByVal b As Long", "Long"},
      {"Show _    (ByVal n As Long)", false, HeadCut::Made, "Show", "ByVal n As Long", ""},
      {"F(ByVal s As String) _    As String()", true, HeadCut::Made, "F", "ByVal s As String",
       "String()"},
      // A line that is not indented: its break reads as one blank, none inside the parentheses.
      {"F( _a As Long, _b As Long _) As Long", true, HeadCut::Made, "F", "a As Long, b As Long",
       "Long"},
      {"F(a, _\tb _\t)", false, HeadCut::Made, "F", "a, b", ""},
      {"Show _(n)", false, HeadCut::Made, "Show", "n", ""},
      {"F(Optional s = \" _x\")", false, HeadCut::Made, "F", "Optional s = \" _x\"", ""},
      // A trailing comment or a following statement is not part of the head, nor are the
      // blanks before it.
      {"F() As Long ' count", true, HeadCut::Made, "F", "", "Long"},
      {"ReadChar() As Byte   'KeyAscii", true, HeadCut::Made, "ReadChar", "", "Byte"},
      {"NewEnum() As IUnknown: End Function", true, HeadCut::Made, "NewEnum", "", "IUnknown"},
      {"E(Optional s As String = \"a:b\"): x = 1", false, HeadCut::Made, "E",
       "Optional s As String = \"a:b\"", ""},
      {"F(a As Long,   b) As Long", true, HeadCut::Made, "F", "a As Long, b", "Long"},
      {"F() As Long' count", true, HeadCut::Made, "F", "", "Long"},
      {"F(s As String) ' it's (x)", true, HeadCut::Made, "F", "s As String", ""},
      {"F(Optional s As String = \"'\") As Long", true, HeadCut::Made, "F",
       "Optional s As String = \"'\"", "Long"},
      // The parameter list ends at the ")" that closes the first "(".
      {"F(a As Long) As String()", true, HeadCut::Made, "F", "a As Long", "String()"},
      {"Total(x As Long)", true, HeadCut::Made, "Total", "x As Long", ""},
      {"F(a() As Long, Optional b As Long = (1 + 2)) As Variant", true, HeadCut::Made, "F",
       "a() As Long, Optional b As Long = (1 + 2)", "Variant"},
      {"F(Optional s As String = \")\") As Long", true, HeadCut::Made, "F",
       "Optional s As String = \")\"", "Long"},
      // The "As" of the return type is a word of its own.
      {"Create() As cAsyncSocket", true, HeadCut::Made, "Create", "", "cAsyncSocket"},
      {"Make() As Assoc", true, HeadCut::Made, "Make", "", "Assoc"},
      {"Trailing() As", true, HeadCut::Made, "Trailing", "", ""},
      // Heads that make no entry, and heads that fail the file.
      {"Main", false, HeadCut::NoParenthesis, "", "", ""},
      {"total As Long ' (not a head)", false, HeadCut::NoParenthesis, "", "", ""},
      {"", true, HeadCut::NoParenthesis, "", "", ""},
      {"F(a As Long", true, HeadCut::Unclosed, "", "", ""},
      {"F)(", true, HeadCut::Unclosed, "", "", ""},
      {"F(s = \")\"", true, HeadCut::Unclosed, "", "", ""},
  };
  for (const HeadCase& c : cases) {
    std::string scratch;
    ProcedureHead head;
    ASSERT_EQ(CutProcedureHead(c.head_text, c.is_function, &scratch, &head), c.cut) << c.head_text;
    if (c.cut != HeadCut::Made) continue;
    EXPECT_EQ(head.name, c.name) << c.head_text;
    EXPECT_EQ(head.parameters, c.parameters) << c.head_text;
    EXPECT_EQ(head.return_type, c.return_type) << c.head_text;
  }
}

TEST(ProcedureHeadTest, FindsAnEndStatementAfterAColon) {
  const struct {
    std::string_view head_text;
    std::string_view end_text;
    bool ends;
  } cases[] = {
      {"CloseReader(): End Sub", "End Sub", true},
      {"CloseReader():End Sub ' done", "End Sub", true},
      {"CloseReader(): End Sub: x = 1", "End Sub", true},
      {"NewEnum() As IUnknown: End Function", "End Function", true},
      {"CloseReader(): End Function", "End Sub", false},
      {"CloseReader(): End Subtotal", "End Sub", false},
      {"E(s = \"a: End Sub\")", "End Sub", false},
      {"E() ' note: End Sub", "End Sub", false},
      {"E(): x = 1: End Sub", "End Sub", false},
      {"E()", "End Sub", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeadEndsOnItsLine(c.head_text, c.end_text), c.ends) << c.head_text;
  }
}

TEST(ProcedureHeadTest, RemovesJoinsInOnePassEach) {
  // "_ " then "  ", each removed once left to right: an odd run of blanks leaves one.
  std::string scratch;
  ProcedureHead head;
  ASSERT_EQ(CutProcedureHead("F(a,_ _  b,     c)", false, &scratch, &head), HeadCut::Made);
  EXPECT_EQ(head.parameters, "a, b, c");
}

}  // namespace
}  // namespace dovrek
