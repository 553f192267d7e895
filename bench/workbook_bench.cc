// Times the workbook report for a large project: N procedures (default 50,000) with a
// three-line comment each, written from the template to a file.
//   workbook_bench TEMPLATE.xlt OUT.xlsx [N]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/console_warning_reporter.h"
#include "os/native_path.h"
#include "frontend/progress_window.h"
#include "report/workbook_report.h"

namespace {

class SaveTo : public dovrek::WorkbookHandover {
 public:
  explicit SaveTo(std::string path) : path_(std::move(path)) {}
  dovrek::Status HandOver(const dovrek::WorkbookSaver& save, const std::string&) override {
    return save(path_);
  }

 private:
  std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TEMPLATE.xlt OUT.xlsx [PROCEDURES]\n", argv[0]);
    return 2;
  }
  int count = argc > 3 ? std::atoi(argv[3]) : 50000;
  dovrek::SpecificationModel model;
  model.Project.Name = "Bench";
  for (int i = 0; i < count; ++i) {
    std::string n = std::to_string(i);
    model.Procedures.push_back({"Procedure" + n, i % 2 ? "Private" : "Public",
                                "mod" + std::to_string(i / 100) + ".bas",
                                "処理 " + n + " の説明\n引数を確認する\n結果を返す\n",
                                "ByVal a As Long, ByRef b As String", i % 3 ? "" : "Boolean"});
  }
  SaveTo handover(argv[2]);
  dovrek::SilentProgressWindow progress;
  dovrek::ConsoleWarningReporter warnings;
  auto start = std::chrono::steady_clock::now();
  dovrek::Status written = dovrek::WriteWorkbookReport(model, argv[1],
                                                       handover, progress, warnings);
  if (!written.ok()) std::fprintf(stderr, "%s\n", written.message().c_str());
  bool ok = written.ok();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d procedures: %.2f s (%s)\n", count, seconds, ok ? "ok" : "failed");
  return ok ? 0 : 1;
}
