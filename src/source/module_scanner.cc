#include "source/module_scanner.h"

#include <algorithm>
#include <utility>

#include "text/line_reader.h"
#include "source/source_messages.h"
#include "base/text_helpers.h"
#include "source/comment_line.h"
#include "source/procedure_head.h"

namespace dovrek {
namespace {

enum class Kind { Function, Sub };

// A text a head line begins with, exactly and case-sensitively, and what it records.
struct HeadRow {
  std::string_view text;
  Kind kind;
  std::string_view scope;
};

// Tested in this order within each kind; the first match wins.
constexpr HeadRow kHeadTable[] = {
    {"Public Function", Kind::Function, "Public"}, {"Private Function", Kind::Function, "Private"},
    {"Function", Kind::Function, "Public"},        {"Public Sub", Kind::Sub, "Public"},
    {"Private Sub", Kind::Sub, "Private"},         {"Sub", Kind::Sub, "Public"},
};

// A text at least this long is handed on rather than copied, and its memory not kept.
constexpr size_t kLongText = 1 << 16;

constexpr std::string_view kEndFunction = "End Function";
constexpr std::string_view kEndSub = "End Sub";

const HeadRow* MatchHead(Kind kind, std::string_view line) {
  for (const HeadRow& row : kHeadTable) {
    if (row.kind == kind && line.starts_with(row.text) && EndsWord(line, row.text.size())) {
      return &row;
    }
  }
  return nullptr;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (StartsWithNoCase(text.substr(i), word)) return true;
  }
  return false;
}

// A physical line that ends with a blank and an underscore goes on in the next line.
bool EndsWithContinuation(std::string_view line) { return line.ends_with(" _"); }

// The number of bytes of the UTF-8 character that starts with `lead`.
size_t CharacterSize(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The line less the head words and the one character that follows them.
std::string_view HeadText(std::string_view line, std::string_view head_words) {
  std::string_view rest = line.substr(head_words.size());
  if (rest.empty()) return rest;
  return rest.substr(std::min(rest.size(), CharacterSize(static_cast<unsigned char>(rest[0]))));
}

}  // namespace

Status ReadModule(const SourcePath& path, const Options& options, SpecificationModel* model) {
  LineReader reader(model->SourceEncoding);
  if (Status opened = reader.Open(path); !opened.ok()) return opened;
  ModuleScanner scanner(options, model);
  scanner.Start(path);
  std::string line;
  while (reader.ReadLine(&line)) {
    if (Status scanned = scanner.ScanLine(&line); !scanned.ok()) return scanned;
  }
  if (!reader.status().ok()) return reader.status();
  scanner.Finish();
  return Status::OK();
}

ModuleScanner::ModuleScanner(const Options& options, SpecificationModel* model)
    : options_(options), model_(model), complete_(options, model) {}

void ModuleScanner::Start(const SourcePath& path) {
  path_ = path.display();
  file_name_ = FileNamePart(path.windows());
  line_number_ = 0;
  attribute_seen_ = header_passed_ = in_function_ = in_sub_ = false;
  continued_.clear();
  continued_from_ = 0;
  collected_.clear();
  complete_.Start(file_name_);
}

void ModuleScanner::Finish() {
  if (options_.Complete) complete_.Finish();
  continued_.clear();
  collected_.clear();
  in_function_ = in_sub_ = false;
}

Status ModuleScanner::ScanLine(std::string_view line) { return Scan(line, nullptr); }

Status ModuleScanner::ScanLine(std::string* line) { return Scan(*line, line); }

// `owned`, when given, holds `line` and may be taken or changed.
Status ModuleScanner::Scan(std::string_view line, std::string* owned) {
  ++line_number_;
  if (!header_passed_) PassHeader(line);
  if (EndsWithContinuation(line)) {
    if (continued_.empty()) {
      continued_from_ = line_number_;
      if (owned) {
        continued_.swap(*owned);
        owned->clear();
        return Status::OK();
      }
    }
    continued_.append(line);
    return Status::OK();
  }
  LogicalLine logical{line, line_number_};
  if (!continued_.empty() && owned && line.size() > continued_.size()) {
    // A long last line takes the earlier ones in front of it rather than being copied.
    owned->insert(0, continued_);
    logical = {*owned, continued_from_};
  } else if (!continued_.empty()) {
    continued_.append(line);
    logical = {continued_, continued_from_};
  }
  Status analysed = header_passed_ ? Analyse(logical) : Status::OK();
  continued_.clear();
  if (continued_.capacity() > kLongText) std::string().swap(continued_);
  return analysed;
}

// Analysis starts after the first run of lines that contain "Attribute": in a module its first
// line, in a form or class the lines after the property block.
void ModuleScanner::PassHeader(std::string_view line) {
  if (ContainsNoCase(line, "Attribute")) {
    attribute_seen_ = true;
  } else if (attribute_seen_) {
    header_passed_ = true;
  }
}

// Function heads are tested inside a Sub and Sub heads inside a Function, so one line can take
// part in both; with Func on, a line outside both is collected for the procedure that follows.
Status ModuleScanner::Analyse(const LogicalLine& line) {
  if (options_.Complete) {
    return complete_.Analyse(line.text) ? Status::OK() : Failure(line.first_line, kUnclosedHead);
  }
  if (Options::On(options_.Func) && !in_function_ && !in_sub_) CollectComment(line.text);
  if (in_function_) {
    if (line.text.starts_with(kEndFunction)) {
      if (Status ended = EndProcedure(line, kEndFunction); !ended.ok()) return ended;
      in_function_ = false;
    } else {
      CollectComment(line.text);
    }
  } else if (Status head = TryHead(true, line); !head.ok()) {
    return head;
  }
  if (!in_sub_) return TryHead(false, line);
  if (line.text.starts_with(kEndSub)) {
    if (Status ended = EndProcedure(line, kEndSub); !ended.ok()) return ended;
    in_sub_ = false;
  } else {
    CollectComment(line.text);
  }
  return Status::OK();
}

// A line that begins with a head text opens a procedure of that kind even when no entry can be
// made for it (no "(" in it): its body then runs to the next end line all the same.
Status ModuleScanner::TryHead(bool is_function, const LogicalLine& line) {
  const HeadRow* row = MatchHead(is_function ? Kind::Function : Kind::Sub, line.text);
  if (!row) return Status::OK();
  (is_function ? in_function_ : in_sub_) = true;
  std::string_view head_text = HeadText(line.text, row->text);
  ProcedureHead head;
  switch (CutProcedureHead(head_text, is_function, &head_scratch_, &head)) {
    case HeadCut::NoParenthesis:
      return EndOnHeadLine(is_function, head_text, line);
    case HeadCut::Unclosed:
      return Failure(line.first_line, kUnclosedHead);
    case HeadCut::Made:
      break;
  }
  ProcedureEntry entry;
  entry.Name = head.name;
  entry.Scope = row->scope;
  entry.FileName = file_name_;
  entry.ReturnType = head.return_type;
  entry.Parameters = TakeParameters(head.parameters);
  model_->Procedures.push_back(std::move(entry));
  return EndOnHeadLine(is_function, head_text, line);
}

// The parameter text (a view into the head scratch) as a string of its own. Long parameters
// take the scratch's memory instead of a copy, so a huge head is not held three times over
// (the line, the scratch, the entry); the other views into the scratch are then invalid.
std::string ModuleScanner::TakeParameters(std::string_view parameters) {
  if (parameters.size() < kLongText) return std::string(parameters);
  const size_t at = static_cast<size_t>(parameters.data() - head_scratch_.data());
  head_scratch_.resize(at + parameters.size());
  head_scratch_.erase(0, at);
  return std::exchange(head_scratch_, std::string());
}

// "Function F() As Long: End Function" ends where it begins, as if an end line followed.
Status ModuleScanner::EndOnHeadLine(bool is_function, std::string_view head_text,
                                    const LogicalLine& line) {
  std::string_view end_text = is_function ? kEndFunction : kEndSub;
  if (!HeadEndsOnItsLine(head_text, end_text)) return Status::OK();
  if (Status ended = EndProcedure(line, end_text); !ended.ok()) return ended;
  (is_function ? in_function_ : in_sub_) = false;
  return Status::OK();
}

// The comment goes to the entry appended last, in this file or an earlier one.
Status ModuleScanner::EndProcedure(const LogicalLine& line, std::string_view end_text) {
  if (model_->Procedures.empty()) return Failure(line.first_line, EndWithoutHead(end_text));
  model_->Procedures.back().Comment = std::move(collected_);
  collected_.clear();
  return Status::OK();
}

void ModuleScanner::CollectComment(std::string_view line) {
  dovrek::CollectComment(line, options_, &collected_);
}

Status ModuleScanner::Failure(long line_number, std::string_view reason) const {
  return Status::BadInput(LineMessage(path_, line_number, reason));
}

}  // namespace dovrek
