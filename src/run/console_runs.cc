#include "run/console_runs.h"

#include <unistd.h>

#include <iostream>

#include "platform/batch_file_dialog.h"
#include "platform/console_file_dialog.h"
#include "platform/console_message_box.h"
#include "platform/console_progress_window.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "run/json_dump.h"
#include "run/run_stages.h"
#include "run/settings_store.h"
#include "run/startup.h"

namespace dovrek {
namespace {

inline constexpr char kNoOutput[] = "出力先ファイルが指定されていません。";

void Override(int16_t* flag, const std::optional<bool>& value) {
  if (value) *flag = *value ? 1 : 0;
}

Options BatchOptions(const CommandLine& line) {
  Options options = LoadOptions(SettingsPath());
  options.Xls = line.workbook_path.empty() ? 0 : 1;
  options.Txt = line.text_path.empty() ? 0 : 1;
  Override(&options.Cmt, line.cmt);
  Override(&options.Func, line.func);
  Override(&options.Dir, line.dir);
  Override(&options.Trim, line.trim);
  return options;
}

bool WriteJson(const std::string& path, const SpecificationModel& model, MessageBox& msg) {
  std::string json = ModelToJson(model);
  if (path == "-") {
    std::cout << json << std::flush;
    if (std::cout) return true;
    msg.ShowError("標準出力に書き込めません。");
    return false;
  }
  std::string error;
  if (WriteWholeFile(path, json, &error)) return true;
  msg.ShowError(error);
  return false;
}

}  // namespace

int RunBatch(const CommandLine& line) {
  ConsoleMessageBox msg;
  if (!line.HasOutput()) {
    msg.ShowMessage(kNoOutput);
    return 2;
  }
  Options options = BatchOptions(line);
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO) && !line.quiet);
  BatchFileDialog dialog(line.text_path.empty() ? "" : ToWindowsPath(MakeAbsolute(line.text_path)));
  SaveToFileHandover handover(line.workbook_path);
  RunServices services{msg, progress, dialog, handover, TemplatePath(), line.text_encoding};
  SpecificationModel model;
  if (!RunSpecification(line.project_path, model, options, services)) return 1;
  if (!line.json_path.empty() && !WriteJson(line.json_path, model, msg)) return 1;
  return 0;
}

int RunUnattendedOnConsole(const std::string& project_path) {
  ConsoleMessageBox msg;
  Options options = LoadOptions(SettingsPath());
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO));
  ConsoleFileDialog dialog;
  OpenInDesktopHandover handover(msg);
  RunServices services{msg, progress, dialog, handover, TemplatePath(), TextEncoding::Cp932};
  SpecificationModel model;
  return RunSpecification(project_path, model, options, services) ? 0 : 1;
}

}  // namespace dovrek
