#include "source/procedure_head.h"

#include <algorithm>

#include "base/text_helpers.h"

namespace dovrek {
namespace {

// Where the head statement stops: the first "'" (a trailing comment) or ":" (the next
// statement) that stands outside a double-quoted string, or the end of the text.
size_t StatementEnd(std::string_view text) {
  return std::min(FindOutsideStrings(text, "':"), text.size());
}

// Removes every `first` followed by `second`, in one left-to-right pass over
// non-overlapping occurrences, in place.
void RemovePairs(std::string* text, char first, char second) {
  size_t out = 0;
  size_t i = 0;
  const size_t size = text->size();
  while (i < size) {
    if ((*text)[i] == first && i + 1 < size && (*text)[i + 1] == second) {
      i += 2;
      continue;
    }
    (*text)[out++] = (*text)[i++];
  }
  text->resize(out);
}

// Joins the continued lines that the removals above cannot: a marker " _" followed straight by
// the next line's text (a line that is not indented, or indented with tabs). The line break
// reads as one blank, as the head would be written on one line, except just inside the
// parentheses: "Long _" + ")" gives "Long)", "( _" + "a" gives "(a", "a, _" + "b" gives
// "a, b". The marker's own blank is that one blank; a "_" in a double-quoted string is text.
void JoinUnindentedContinuations(std::string* text) {
  size_t out = 0;
  bool in_string = false;
  const size_t size = text->size();
  for (size_t i = 0; i < size;) {
    const char c = (*text)[i];
    if (c == '"') in_string = !in_string;
    const bool marker =
        !in_string && c == ' ' && i + 2 < size && (*text)[i + 1] == '_' && (*text)[i + 2] != ' ';
    if (!marker) {
      (*text)[out++] = (*text)[i++];
      continue;
    }
    i += 2;
    while (i < size && ((*text)[i] == '\t' || (*text)[i] == ' ')) ++i;
    const bool after_open = out > 0 && (*text)[out - 1] == '(';
    const bool before_close = i < size && (*text)[i] == ')';
    if (!after_open && !before_close) (*text)[out++] = ' ';
  }
  text->resize(out);
}

// The position of the ")" that closes the "(" at `open`, or npos.
size_t ClosingParenthesis(std::string_view text, size_t open) {
  int depth = 0;
  bool in_string = false;
  for (size_t i = open; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

bool IsWordAs(std::string_view text, size_t at) {
  bool starts = at == 0 || text[at - 1] == ' ';
  bool ends = at + 2 == text.size() || text[at + 2] == ' ';
  return starts && ends;
}

// What follows the last word "As" of `text`, less the one separating character.
std::string_view ReturnTypeIn(std::string_view text) {
  size_t at = text.rfind("As");
  while (at != std::string_view::npos && !IsWordAs(text, at)) {
    at = at == 0 ? std::string_view::npos : text.rfind("As", at - 1);
  }
  if (at == std::string_view::npos || at + 3 > text.size()) return {};
  return text.substr(at + 3);
}

// Any byte of a non-ASCII UTF-8 character counts: such characters may continue a name.
bool IsNameCharacter(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u >= 0x80 || u == '_' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') ||
         (u >= 'A' && u <= 'Z');
}

}  // namespace

// The blanks before a trailing comment or a following statement belong to what was cut, not to
// the return type.
std::string_view HeadStatement(std::string_view text) {
  size_t end = StatementEnd(text);
  if (end == text.size()) return text;
  text = text.substr(0, end);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

size_t FindOutsideStrings(std::string_view text, std::string_view characters) {
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') in_string = !in_string;
    if (!in_string && characters.find(text[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

bool EndsWord(std::string_view line, size_t at) {
  return at >= line.size() || !IsNameCharacter(line[at]);
}

bool HeadEndsOnItsLine(std::string_view head_text, std::string_view end_text) {
  size_t end = StatementEnd(head_text);
  if (end == head_text.size() || head_text[end] != ':') return false;
  std::string_view next = head_text.substr(end + 1);
  while (!next.empty() && next.front() == ' ') next.remove_prefix(1);
  return next.starts_with(end_text) && EndsWord(next, end_text.size());
}

HeadCut CutProcedureHead(std::string_view head_text, bool is_function, std::string* scratch,
                         ProcedureHead* head) {
  std::string_view code = HeadStatement(head_text);
  if (code.find('(') == std::string_view::npos) return HeadCut::NoParenthesis;
  scratch->assign(code);
  RemovePairs(scratch, '_', ' ');
  RemovePairs(scratch, ' ', ' ');
  JoinUnindentedContinuations(scratch);
  std::string_view text = *scratch;
  size_t open = text.find('(');
  size_t close = ClosingParenthesis(text, open);
  if (close == std::string_view::npos) return HeadCut::Unclosed;
  head->name = TrimSpaces(text.substr(0, open));
  head->parameters = text.substr(open + 1, close - open - 1);
  head->return_type = is_function ? ReturnTypeIn(text.substr(close + 1)) : std::string_view();
  return HeadCut::Made;
}

}  // namespace dovrek
