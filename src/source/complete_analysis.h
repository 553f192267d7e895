#pragma once
// Complete mode's analysis of a source file's logical lines: every procedure kind and
// declaration becomes an entry, and a procedure is described by the block of comment lines
// directly above its head, its head's trailing comment and the comments of its body.

#include <optional>
#include <string>
#include <string_view>

#include "model/specification_model.h"
#include "source/complete_head.h"

namespace dovrek {

class CompleteAnalysis {
 public:
  // Entries go to model->Procedures, which must outlive the analysis.
  CompleteAnalysis(const Options& options, SpecificationModel* model);

  // Begins a file whose entries carry `file_name`.
  void Start(std::string_view file_name);

  // Takes the next logical line after the file's header. Heads and end lines may be indented.
  // A head that comes while a procedure is still open closes that procedure first. False when
  // the line is a head whose "(" is never closed: the file cannot be read, as in the default
  // mode. A head word without a name makes no entry but opens a body all the same.
  bool Analyse(std::string_view line);

  // Ends the file: a procedure still open keeps what was collected for it.
  void Finish();

 private:
  bool TakeHead(const CompleteHead& head, std::string_view line);
  void TakeBodyLine(std::string_view line, std::string_view code);
  void TakeOutsideLine(std::string_view line, std::string_view code);
  void Close();

  const Options options_;
  SpecificationModel* model_;
  std::string file_name_;
  // The body of a head that made no entry, read to its end statement all the same.
  static constexpr size_t kNoEntry = static_cast<size_t>(-1);
  std::optional<size_t> open_;  // the entry of the procedure whose body is being read
  std::string_view end_text_;   // the end statement that closes it
  std::string above_;           // comment lines directly above the next head (Func on)
  std::string collected_;       // the open procedure's comment so far
  std::string description_;     // its VB_Description attribute, quotes removed
  std::string scratch_;
};

}  // namespace dovrek
