#pragma once
// Cuts the head of a Sub or Function into name, parameter text and return type.

#include <string>
#include <string_view>

namespace dovrek {

// The parts of one head. The views point into the scratch text given to CutProcedureHead and
// stay valid until that text changes.
struct ProcedureHead {
  std::string_view name;         // blanks trimmed
  std::string_view parameters;   // as written between the parentheses
  std::string_view return_type;  // empty for a Sub or a Function without "As"
};

enum class HeadCut {
  Made,           // *head is filled
  NoParenthesis,  // the text holds no "(": no entry is made for it
  Unclosed,       // the "(" is never closed: the file cannot be read
};

// The position of the first of `characters` that stands outside a double-quoted string in
// `text` (a doubled quote inside a string keeps it open), or npos.
size_t FindOutsideStrings(std::string_view text, std::string_view characters);

// True when `line` holds no character at `at`, or one that cannot continue a Basic name (not
// an ASCII letter, digit or underscore, and not a non-ASCII character): a head text matched up
// to `at` is then a whole word, so "Sub Main()" is a head and "Subject" is not.
bool EndsWord(std::string_view line, size_t at);

// True when the head statement of `head_text` is followed, after a ":" outside a
// double-quoted string and any blanks, by `end_text` ("End Sub" or "End Function") as a whole
// word: a one-line procedure such as "Sub CloseReader(): End Sub".
bool HeadEndsOnItsLine(std::string_view head_text, std::string_view end_text);

// The head statement of `head_text`: up to the first "'" or ":" outside a double-quoted
// string, less the blanks before it.
std::string_view HeadStatement(std::string_view head_text);

// Cuts `head_text`, the logical line less its head words ("Public Function" and the one
// character after them). The head statement ends at the first "'" (a trailing comment) or ":"
// (the next statement) outside a double-quoted string; what follows, and the blanks before
// it, are dropped; the continuation joins are undone by removing every
// "_ " and then every "  ", and a marker " _" that the next line's text follows without a
// blank (a line not indented) becomes one blank, or none just inside the parentheses; the
// parameters run from the first "(" to the ")" that closes it,
// parentheses inside double-quoted strings not counting. A Function's return type follows the
// last word "As" after that ")", less the one character after it. `scratch` holds the
// joined text; *head's views point into it.
HeadCut CutProcedureHead(std::string_view head_text, bool is_function, std::string* scratch,
                         ProcedureHead* head);

}  // namespace dovrek
