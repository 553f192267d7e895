#include "source/complete_analysis.h"

#include "base/text_helpers.h"
#include "source/comment_line.h"
#include "source/procedure_head.h"

namespace dovrek {
namespace {

// The text of an Attribute Name.VB_Description = "..." line, without its quotes; nullopt
// for any other line.
std::optional<std::string_view> DescriptionAttribute(std::string_view code) {
  if (!StartsWithNoCase(code, "Attribute ")) return std::nullopt;
  size_t key = code.find(".VB_Description");
  size_t open = code.find('"');
  if (key == std::string_view::npos || open == std::string_view::npos || open < key) {
    return std::nullopt;
  }
  size_t close = code.rfind('"');
  return code.substr(open + 1, close > open ? close - open - 1 : std::string_view::npos);
}

}  // namespace

CompleteAnalysis::CompleteAnalysis(const Options& options, SpecificationModel* model)
    : options_(options), model_(model) {}

void CompleteAnalysis::Start(std::string_view file_name) {
  file_name_ = file_name;
  open_.reset();
  above_.clear();
  collected_.clear();
  description_.clear();
}

void CompleteAnalysis::Finish() {
  if (open_) Close();
  above_.clear();
}

bool CompleteAnalysis::Analyse(std::string_view line) {
  std::string_view code = SkipBlanks(line);
  if (std::optional<CompleteHead> head = MatchCompleteHead(code)) {
    if (open_) Close();
    return TakeHead(*head, line);
  }
  if (open_) {
    TakeBodyLine(line, code);
  } else {
    TakeOutsideLine(line, code);
  }
  return true;
}

// With Func on, the comment starts with the block above the head and the head's own trailing
// comment. A declaration has no body: its entry is complete at once.
bool CompleteAnalysis::TakeHead(const CompleteHead& head, std::string_view line) {
  ProcedureEntry entry;
  const CompleteCut cut = CutCompleteHead(head, &scratch_, &entry);
  if (cut == CompleteCut::kUnclosed) return false;
  collected_.clear();
  if (Options::On(options_.Func)) {
    collected_.swap(above_);
    CollectComment(line, options_, &collected_);
  }
  above_.clear();
  open_ = kNoEntry;
  if (cut == CompleteCut::kMade) {
    entry.FileName = file_name_;
    model_->Procedures.push_back(std::move(entry));
    open_ = model_->Procedures.size() - 1;
  }
  end_text_ = EndTextOf(head.kind);
  if (end_text_.empty() || HeadEndsOnItsLine(head.rest, end_text_)) Close();
  return true;
}

void CompleteAnalysis::TakeBodyLine(std::string_view line, std::string_view code) {
  if (code.starts_with(end_text_) && EndsWord(code, end_text_.size())) {
    Close();
  } else if (std::optional<std::string_view> text = DescriptionAttribute(code)) {
    description_ = *text;
  } else {
    CollectComment(line, options_, &collected_);
  }
}

// Outside a procedure only whole comment lines describe what follows; a blank line or a line
// of code ends the block.
void CompleteAnalysis::TakeOutsideLine(std::string_view line, std::string_view code) {
  if (code.starts_with('\'') && Options::On(options_.Func)) {
    CollectComment(line, options_, &above_);
  } else if (!code.starts_with('\'')) {
    above_.clear();
  }
}

// The VB_Description text, when there is one, is the description's first line.
void CompleteAnalysis::Close() {
  if (*open_ != kNoEntry) {
    std::string& comment = model_->Procedures[*open_].Comment;
    comment.clear();
    if (!description_.empty()) comment.append(description_).push_back('\n');
    comment.append(collected_);
  }
  open_.reset();
  collected_.clear();
  description_.clear();
}

}  // namespace dovrek
