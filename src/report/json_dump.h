#pragma once
// The model as JSON (UTF-8): project information, the three member lists and the procedures,
// with the model's own field names. Complete mode adds the source encoding, the lists
// "controls", "pages", "documents" and "designers", a count of entries by kind per member file
// ("Kinds"), and per entry its Kind, Static and, for a Declare, its Lib and Alias.

#include <memory>
#include <string>

#include "model/specification_model.h"
#include "os/buffered_writer.h"
#include "os/output_transaction.h"
#include "report/report_writer.h"

namespace dovrek {

// Writes the JSON to `out` piece by piece; the caller flushes `out` and checks it.
void WriteModelJson(const SpecificationModel& model, bool complete, BufferedWriter& out);

// Writes the JSON to a file (native path) as ReplacingFile does, in `transaction` when given.
Status WriteJsonFile(const std::string& native_path, const SpecificationModel& model, bool complete,
                     OutputTransaction* transaction = nullptr);

// The JSON as one output of a run, written to a file (native path).
std::unique_ptr<ReportWriter> JsonReportWriter(std::string native_path, bool complete,
                                               OutputTransaction* transaction);

// The JSON as one string (for callers that need it in memory).
std::string ModelToJson(const SpecificationModel& model, bool complete = false);

}  // namespace dovrek
