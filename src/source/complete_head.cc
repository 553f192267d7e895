#include "source/complete_head.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text_helpers.h"
#include "source/procedure_head.h"

namespace dovrek {
namespace {

struct KindWords {
  std::string_view words;  // blanks between them stand for one or more blanks or tabs
  EntryKind kind;
};

constexpr std::array<KindWords, 8> kKinds = {{
    {"Sub", EntryKind::kSub},
    {"Function", EntryKind::kFunction},
    {"Property Get", EntryKind::kPropertyGet},
    {"Property Let", EntryKind::kPropertyLet},
    {"Property Set", EntryKind::kPropertySet},
    {"Declare Sub", EntryKind::kDeclareSub},
    {"Declare Function", EntryKind::kDeclareFunction},
    {"Event", EntryKind::kEvent},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// When `text` begins with `word` as a whole word, the text after it; otherwise nullopt.
std::optional<std::string_view> TakeWord(std::string_view text, std::string_view word) {
  if (!text.starts_with(word) || !EndsWord(text, word.size())) return std::nullopt;
  return text.substr(word.size());
}

// Takes the words of `words` one after the other, with blanks between them in `text`. The
// answer is the text after the last word.
std::optional<std::string_view> TakeWords(std::string_view text, std::string_view words) {
  while (true) {
    size_t space = words.find(' ');
    std::optional<std::string_view> after = TakeWord(text, words.substr(0, space));
    if (!after || space == std::string_view::npos) return after;
    if (after->empty() || !IsBlank(after->front())) return std::nullopt;
    text = SkipBlanks(*after);
    words.remove_prefix(space + 1);
  }
}

// The rest after a matched head word: the one separating character is dropped.
std::string_view AfterSeparator(std::string_view after) {
  return after.empty() ? after : after.substr(1);
}

// Splits `text` into blank-separated tokens; a double-quoted text is one token, without its
// quotes.
std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  for (text = SkipBlanks(text); !text.empty(); text = SkipBlanks(text)) {
    size_t end = 0;
    if (text.front() == '"') {
      size_t close = std::min(text.find('"', 1), text.size());
      tokens.push_back(text.substr(1, close - 1));
      end = std::min(close + 1, text.size());
    } else {
      while (end < text.size() && !IsBlank(text[end])) ++end;
      tokens.push_back(text.substr(0, end));
    }
    text.remove_prefix(end);
  }
  return tokens;
}

std::string_view FirstToken(std::string_view text) {
  std::vector<std::string_view> tokens = Tokens(text);
  return tokens.empty() ? std::string_view() : tokens[0];
}

// "GetTickCount Lib "kernel32" Alias "GetTickCountA"": the name, the library and the alias.
void SplitDeclareName(std::string_view text, ProcedureEntry* entry) {
  std::vector<std::string_view> tokens = Tokens(text);
  entry->Name = FirstToken(text);
  for (size_t i = 1; i + 1 < tokens.size(); ++i) {
    if (tokens[i] == "Lib") entry->Lib = tokens[i + 1];
    if (tokens[i] == "Alias") entry->Alias = tokens[i + 1];
  }
}

}  // namespace

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view KindName(EntryKind kind) {
  for (const KindWords& k : kKinds) {
    if (k.kind == kind) return k.words;
  }
  return {};
}

std::string_view EndTextOf(EntryKind kind) {
  switch (kind) {
    case EntryKind::kSub:
      return "End Sub";
    case EntryKind::kFunction:
      return "End Function";
    case EntryKind::kPropertyGet:
    case EntryKind::kPropertyLet:
    case EntryKind::kPropertySet:
      return "End Property";
    default:
      return {};
  }
}

bool HasReturnType(EntryKind kind) {
  return kind == EntryKind::kFunction || kind == EntryKind::kPropertyGet ||
         kind == EntryKind::kDeclareFunction;
}

std::optional<CompleteHead> MatchCompleteHead(std::string_view code) {
  CompleteHead head{EntryKind::kSub, "Public", false, {}};
  for (std::string_view scope : {"Public", "Private", "Friend"}) {
    std::optional<std::string_view> after = TakeWord(code, scope);
    if (!after || after->empty() || !IsBlank(after->front())) continue;
    head.scope = scope;
    code = SkipBlanks(*after);
    break;
  }
  if (std::optional<std::string_view> after = TakeWord(code, "Static");
      after && !after->empty() && IsBlank(after->front())) {
    head.is_static = true;
    code = SkipBlanks(*after);
  }
  for (const KindWords& k : kKinds) {
    std::optional<std::string_view> after = TakeWords(code, k.words);
    if (!after) continue;
    head.kind = k.kind;
    head.rest = AfterSeparator(*after);
    return head;
  }
  return std::nullopt;
}

CompleteCut CutCompleteHead(const CompleteHead& head, std::string* scratch, ProcedureEntry* entry) {
  bool declare = head.kind == EntryKind::kDeclareSub || head.kind == EntryKind::kDeclareFunction;
  ProcedureHead cut;
  bool has_parenthesis = false;
  switch (CutProcedureHead(head.rest, HasReturnType(head.kind), scratch, &cut)) {
    case HeadCut::Made:
      has_parenthesis = true;
      entry->Name = cut.name;
      entry->Parameters = cut.parameters;
      entry->ReturnType = cut.return_type;
      break;
    case HeadCut::NoParenthesis:
      entry->Name = declare ? HeadStatement(head.rest) : FirstToken(HeadStatement(head.rest));
      break;
    case HeadCut::Unclosed:
      return CompleteCut::kUnclosed;
  }
  if (declare) SplitDeclareName(std::string(entry->Name), entry);
  // Without "(" the name is all there is: none (a bare head word, an empty quoted text) makes
  // no entry, as a head without "(" makes none in the default mode.
  if (!has_parenthesis && entry->Name.empty()) return CompleteCut::kNoName;
  entry->Kind = KindName(head.kind);
  entry->Scope = head.scope;
  entry->Static = head.is_static;
  return CompleteCut::kMade;
}

}  // namespace dovrek
