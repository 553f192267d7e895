#include "run/report_writers.h"

#include <utility>
#include <vector>

#include "draw/screen_picture.h"
#include "report/json_dump.h"
#include "report/report_mode.h"
#include "report/text_report.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

class WorkbookWriter : public ReportWriter {
 public:
  WorkbookWriter(const OutputPlaces& places, ReportMode mode)
      : handover_(places.workbook),
        warnings_(places.warnings),
        template_path_(places.template_path),
        mode_(mode),
        shared_(places.pictures) {}

  Status Write(const SpecificationModel& model, ProgressWindow& progress) override {
    DrawnScreenPictures own;
    DrawnScreenPictures& drawn = shared_ ? *shared_ : own;
    return WriteWorkbookReport(
        model, template_path_, handover_, progress, warnings_, &cut_, mode_,
        [&]() -> const std::vector<std::string>& { return drawn.Of(model.Screens); });
  }
  void RunEnded() override { handover_.ReportCutTexts(cut_); }

 private:
  WorkbookHandover& handover_;
  WarningReporter& warnings_;
  std::string template_path_;
  ReportMode mode_;
  DrawnScreenPictures* shared_;
  std::vector<std::string> cut_;  // the procedures whose text the handed-over workbook cut
};

}  // namespace

ReportWriters ChosenWriters(const Options& options, const OutputPlaces& places) {
  const ReportMode mode = ReportModeOf(options);
  ReportWriters writers;
  if (Options::On(options.Xls)) writers.push_back(std::make_unique<WorkbookWriter>(places, mode));
  if (Options::On(options.Txt)) {
    writers.push_back(
        TextReportWriter(places.text, places.text_encoding, mode, places.transaction));
  }
  if (!places.json_path.empty()) {
    writers.push_back(JsonReportWriter(places.json_path, options.Complete, places.transaction));
  }
  return writers;
}

PathChooser SaveDialogChooser(FileDialog& dialog) {
  return [&dialog](std::string* path) {
    if (std::string why = dialog.Unavailable(); !why.empty()) return Status::Error(why);
    if (!dialog.ShowSaveDialog("", path)) path->clear();
    return Status::OK();
  };
}

PathChooser FixedPathChooser(std::string path) {
  return [path = std::move(path)](std::string* chosen) {
    *chosen = path;
    return Status::OK();
  };
}

}  // namespace dovrek
