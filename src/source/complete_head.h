#pragma once
// Recognises the heads that complete mode lists: every procedure kind (Sub, Function, Property
// Get/Let/Set, with an optional scope word and Static) and the declarations without a body
// (Declare Sub/Function, Event).

#include <optional>
#include <string>
#include <string_view>

#include "model/specification_model.h"

namespace dovrek {

enum class EntryKind {
  kSub,
  kFunction,
  kPropertyGet,
  kPropertyLet,
  kPropertySet,
  kDeclareSub,
  kDeclareFunction,
  kEvent,
};

// Every kind, in the order counts by kind are given.
inline constexpr EntryKind kEntryKinds[] = {
    EntryKind::kSub,
    EntryKind::kFunction,
    EntryKind::kPropertyGet,
    EntryKind::kPropertyLet,
    EntryKind::kPropertySet,
    EntryKind::kDeclareSub,
    EntryKind::kDeclareFunction,
    EntryKind::kEvent,
};

// The text less its leading blanks and tabs.
std::string_view SkipBlanks(std::string_view text);

// The kind as the model and the reports name it: "Sub", "Property Get", "Declare Function", ...
std::string_view KindName(EntryKind kind);

// The end statement that closes a procedure of this kind ("End Sub", "End Function",
// "End Property"); empty for a declaration, which has no body.
std::string_view EndTextOf(EntryKind kind);

// A Function, Property Get or Declare Function has a return type.
bool HasReturnType(EntryKind kind);

struct CompleteHead {
  EntryKind kind;
  std::string_view scope;  // "Public", "Private" or "Friend"; "Public" when none is written
  bool is_static = false;
  std::string_view rest;  // the text after the head words and the one character after them
};

// Matches `code`, a logical line with its indentation already skipped: an optional scope word
// (Public, Private, Friend), an optional Static, then the kind's words, each separated by
// blanks and the last one ending a word. nullopt when the line is no such head.
std::optional<CompleteHead> MatchCompleteHead(std::string_view code);

enum class CompleteCut {
  kMade,      // *entry is filled
  kNoName,    // a head word with no name after it ("Property Get" alone): no entry
  kUnclosed,  // the "(" is never closed: the file cannot be read, as in the default mode
};

// Cuts `head.rest` into an entry's Name, Parameters, ReturnType and, for a Declare, Lib and
// Alias; sets Kind, Scope and Static. A head without "(" is all name (its first word, for a
// procedure). `scratch` holds the joined text while cutting.
CompleteCut CutCompleteHead(const CompleteHead& head, std::string* scratch, ProcedureEntry* entry);

}  // namespace dovrek
