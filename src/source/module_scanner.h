#pragma once
// Finds every Sub and Function of a form, standard module or class module source file, with
// the comment lines that describe it. A line scanner, not a parser of Visual Basic: fixed texts
// at the start of a logical line decide what a line is.

#include <string>
#include <string_view>

#include "model/specification_model.h"
#include "os/source_path.h"
#include "base/status.h"
#include "source/complete_analysis.h"

namespace dovrek {

// Reads one source file and appends its procedures to model->Procedures; stores each
// procedure's comment at its end line. A failure names the file and, for a line problem, the
// line: "<file>(<line>): ...". Entries appended before the failure stay.
Status ReadModule(const SourcePath& path, const Options& options, SpecificationModel* model);

// The scanner behind ReadModule, fed one physical line at a time so that it can be driven
// from memory as well as from a file. One scanner reads one file: Start resets everything that
// spans lines.
class ModuleScanner {
 public:
  // Entries go to model->Procedures, which must outlive the scanner; the options' Cmt, Func
  // and Trim flags are copied.
  ModuleScanner(const Options& options, SpecificationModel* model);

  // Begins a file. `path` gives each entry's FileName (the file-name part of its Windows form)
  // and names the file in failure descriptions.
  void Start(const SourcePath& path);

  // Takes the next physical line, without its line end, as UTF-8. A failure (a head whose "("
  // is never closed, an end line while model->Procedures is empty) is BadInput described as
  // "<file>(<line>): <reason>"; the file must then not be fed further.
  Status ScanLine(std::string_view line);
  // The same for a line the caller gives up: a line that begins or ends a continued logical
  // line may be taken or changed (*line is then unspecified) instead of copied, as such a line
  // may be very long.
  Status ScanLine(std::string* line);

  // Ends the file: a procedure still open keeps its empty Comment, a collected comment not yet
  // stored and a continued line never finished are dropped.
  void Finish();

 private:
  // What one logical line is made of: its text and the number of its first physical line.
  struct LogicalLine {
    std::string_view text;
    long first_line = 0;
  };

  Status Scan(std::string_view line, std::string* owned);
  void PassHeader(std::string_view line);
  Status Analyse(const LogicalLine& line);
  Status TryHead(bool is_function, const LogicalLine& line);
  Status EndOnHeadLine(bool is_function, std::string_view head_text, const LogicalLine& line);
  Status EndProcedure(const LogicalLine& line, std::string_view end_text);
  std::string TakeParameters(std::string_view parameters);
  void CollectComment(std::string_view line);
  Status Failure(long line_number, std::string_view reason) const;

  const Options options_;  // a copy: the flags in force when the scanner was made
  SpecificationModel* model_;
  CompleteAnalysis complete_;  // takes the logical lines in complete mode
  std::string path_;
  std::string file_name_;
  long line_number_ = 0;
  bool attribute_seen_ = false;
  bool header_passed_ = false;
  bool in_function_ = false;
  bool in_sub_ = false;
  std::string continued_;     // physical lines of the unfinished logical line, markers kept
  long continued_from_ = 0;   // the first of those lines
  std::string collected_;     // comment lines waiting for the next end line
  std::string head_scratch_;  // the head text while a head is being cut
};

}  // namespace dovrek
