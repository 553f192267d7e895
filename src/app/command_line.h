#pragma once
// What the program's arguments ask for: the main window, an unattended run ("/a"), or a batch
// run with output options.

#include <optional>
#include <string>
#include <vector>

#include "app/app_messages.h"
#include "model/specification_model.h"
#include "os/source_path.h"
#include "codepage/encoding.h"
#include "texts/ui_language.h"

namespace dovrek {

enum class RunMode {
  kWindow,      // the main window, the path box filled when a project was named
  kUnattended,  // "/a" PROJECT: one run with the settings file's options (an option in
                // front of "/a" is bad usage)
  kBatch,       // output options: no windows, the exit status tells the outcome
  kPortfolio,   // many projects in one batch run: outputs in one folder, an inventory
  kHelp,
  kVersion,
  kUsageError,  // bad arguments; `error` says why
};

// The output name that stands for standard output.
inline constexpr char kStandardOutputName[] = "-";
inline bool IsStandardOutput(const std::string& path) { return path == kStandardOutputName; }

// A batch run over many projects: which outputs each project gets in the output folder, and
// the inventory of them all.
struct PortfolioRequest {
  std::vector<std::string> inputs;  // as typed: project files, group files (.vbg), folders
  std::string output_dir;           // native; empty when only the inventory is asked for
  bool text = true, workbook = true, json = false;  // --formats
  std::string inventory_path;       // native; .xlsx, .json or .csv; empty when none
};

struct CommandLine {
  RunMode mode = RunMode::kWindow;
  SourcePath project_path;  // absolute; empty when none was given
  // The outputs: native paths as given (every "\" a "/"), "-" for standard output, empty when
  // not asked for.
  // No two name the same file (see output_identity.h).
  std::string text_path;
  std::string workbook_path;
  std::string json_path;
  std::optional<bool> cmt, func, dir, trim;
  // Complete mode and the source encoding; nullopt keeps what Dovrek.ini says.
  std::optional<bool> complete;
  std::optional<SourceEncodingChoice> source_encoding;
  // Complete mode's screens (nullopt keeps what Dovrek.ini says), and the folder their pictures
  // go to as PNG files (empty: none).
  std::optional<bool> screens;
  std::string screens_dir;
  // The settings file a batch run reads its options from (native path as given); empty: none,
  // the options come from the command line alone.
  std::string settings_path;
  Encoding text_encoding = Encoding::kCp932;
  bool quiet = false;
  // Go on without missing member files, naming them all; the run then counts as failed.
  bool skip_missing = false;
  PortfolioRequest portfolio;  // kPortfolio only
  std::string error;

  bool HasOutput() const;
};

// The outputs a batch run can write, one row each, in the order the closing line names them:
// where its path is kept, the switches that name its file, its name in --formats and whether a
// run over many projects writes it, the end of its file's name in an output folder, and its
// label in the closing line.
struct BatchOutputKind {
  std::string CommandLine::*path;
  const char* switches;
  const char* format;
  bool PortfolioRequest::*chosen;
  const char* extension;
  const char* label;
};
inline constexpr BatchOutputKind kBatchOutputs[] = {
    {&CommandLine::text_path, "-t,--text", "text", &PortfolioRequest::text, ".txt",
     kTextOutputLabel},
    {&CommandLine::workbook_path, "-x,--workbook", "workbook", &PortfolioRequest::workbook,
     ".xlsx", kWorkbookOutputLabel},
    {&CommandLine::json_path, "-j,--json", "json", &PortfolioRequest::json, ".json",
     kJsonOutputLabel},
};

// Parses the arguments (without the program's own path). A usage error is told in `language`.
CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             Language language = Language::kEnglish);

// The project path of an unattended run: every argument after the first one equal to "/a"
// (any letter case), joined by one blank, trimmed, every double quote removed. nullopt when
// no argument is the switch.
std::optional<std::string> UnattendedProjectPath(const std::vector<std::string>& args);

}  // namespace dovrek
