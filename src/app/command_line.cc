#include "app/command_line.h"

#include <algorithm>

#include <CLI/CLI.hpp>

#include "app/output_identity.h"
#include "app/portfolio_messages.h"
#include "app/parse_error_text.h"
#include "app/app_messages.h"
#include "os/native_path.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

bool LooksLikeOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

bool OptionBeforeUnattendedSwitch(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (EqualsNoCase(arg, "/a")) return false;
    if (LooksLikeOption(arg)) return true;
  }
  return false;
}

// The message for two outputs that name one file, which would overwrite each other; empty when
// every output has a file of its own. Standard output is one file too.
std::string SharedOutputPath(const CommandLine& line, Language language) {
  std::vector<std::string> seen;
  for (const BatchOutputKind& kind : kBatchOutputs) {
    const std::string* path = &(line.*kind.path);
    if (path->empty()) continue;
    std::string key = OutputIdentity(*path);
    for (const std::string& earlier : seen) {
      if (earlier != key) continue;
      if (NamesStandardOutput(*path)) return kOneOutputToStandardOutput.In(language);
      return SameFileForTwoOutputs(*path, language);
    }
    seen.push_back(key);
  }
  return {};
}

void AddParsingSwitch(CLI::App& app, const char* name, std::optional<bool>* flag) {
  std::string on = std::string("--") + name;
  std::string off = std::string("--no-") + name;
  auto* yes = app.add_flag_callback(on, [flag] { *flag = true; });
  auto* no = app.add_flag_callback(off, [flag] { *flag = false; });
  yes->excludes(no);
}

// What the batch switches give that is not kept in the command line as it is.
struct BatchSwitches {
  bool help = false;
  bool version = false;
  std::string text_encoding = "cp932";
  std::string source_encoding;
  std::vector<std::string> projects;
  std::string formats;
};

// Binds every batch switch to where its value goes.
void AddBatchSwitches(CLI::App& app, CommandLine* line, BatchSwitches* given) {
  app.set_help_flag();
  app.add_flag("-h,--help", given->help);
  app.add_flag("--version", given->version);
  for (const BatchOutputKind& kind : kBatchOutputs) app.add_option(kind.switches, line->*kind.path);
  AddParsingSwitch(app, "cmt", &line->cmt);
  AddParsingSwitch(app, "func", &line->func);
  AddParsingSwitch(app, "dir", &line->dir);
  AddParsingSwitch(app, "trim", &line->trim);
  app.add_option("--text-encoding", given->text_encoding)->check(CLI::IsMember({"cp932", "utf-8"}));
  AddParsingSwitch(app, "complete", &line->complete);
  AddParsingSwitch(app, "screens", &line->screens);
  app.add_option("--screens-dir", line->screens_dir);
  app.add_option("--source-encoding", given->source_encoding)
      ->check(CLI::IsMember({"cp932", "utf-8", "cp1252", "auto"}));
  app.add_option("--settings", line->settings_path);
  app.add_flag("-q,--quiet", line->quiet);
  app.add_option("project", given->projects);
}

// The switches of a run over many projects, and of a missing member skipped.
void AddPortfolioSwitches(CLI::App& app, CommandLine* line, BatchSwitches* given) {
  app.add_flag("--skip-missing", line->skip_missing);
  app.add_option("--output-dir", line->portfolio.output_dir);
  app.add_option("--formats", given->formats);
  app.add_option("--inventory", line->portfolio.inventory_path);
}

// Reads "workbook,text,json" into the request; the message of a bad list, else empty.
std::string TakeFormats(const std::string& formats, Language language, PortfolioRequest* request) {
  if (formats.empty()) return {};  // not given: workbook and text
  for (const BatchOutputKind& kind : kBatchOutputs) request->*kind.chosen = false;
  bool any = false;
  size_t start = 0;
  while (start <= formats.size()) {
    size_t comma = std::min(formats.find(',', start), formats.size());
    std::string name(TrimSpaces(std::string_view(formats).substr(start, comma - start)));
    const auto kind = std::find_if(std::begin(kBatchOutputs), std::end(kBatchOutputs),
                                   [&](const BatchOutputKind& k) { return name == k.format; });
    if (kind != std::end(kBatchOutputs)) {
      request->*kind->chosen = any = true;
    } else if (!name.empty()) {
      return UnknownFormat(name, language);
    }
    start = comma + 1;
  }
  return any ? "" : kNoFormatChosen.In(language);
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

// The usage error of a run over many projects; empty when there is none.
std::string PortfolioProblem(const BatchSwitches& given, Language language, CommandLine* line) {
  PortfolioRequest& request = line->portfolio;
  if (line->HasOutput()) return kPortfolioWithOutputFiles.In(language);
  if (request.output_dir.empty() && request.inventory_path.empty()) {
    return kManyProjectsNeedOutputDir.In(language);
  }
  if (!line->screens_dir.empty()) return kScreensDirWithPortfolio.In(language);
  const std::string& inventory = request.inventory_path;
  if (!inventory.empty() && !EndsWithNoCase(inventory, ".xlsx") &&
      !EndsWithNoCase(inventory, ".json") && !EndsWithNoCase(inventory, ".csv")) {
    return UnknownInventoryKind(inventory, language);
  }
  return TakeFormats(given.formats, language, &request);
}

// A batch run becomes a run over many projects when it names more than one project, an output
// folder or an inventory.
void ChoosePortfolioMode(const BatchSwitches& given, Language language, CommandLine* line) {
  PortfolioRequest& request = line->portfolio;
  bool many = given.projects.size() > 1 || !request.output_dir.empty() ||
              !request.inventory_path.empty() || !given.formats.empty();
  if (line->mode != RunMode::kBatch || !many) return;
  if (std::string problem = PortfolioProblem(given, language, line); !problem.empty()) {
    line->mode = RunMode::kUsageError;
    line->error = problem;
    return;
  }
  line->mode = RunMode::kPortfolio;
  request.inputs = given.projects;
  for (std::string* path : {&request.output_dir, &request.inventory_path}) {
    if (!path->empty()) *path = ToNativePath(*path);
  }
}

// The mode the parsed switches ask for: help and version first, then the usage errors.
void ChooseBatchMode(const BatchSwitches& given, Language language, CommandLine* line) {
  if (given.help) {
    line->mode = RunMode::kHelp;
  } else if (given.version) {
    line->mode = RunMode::kVersion;
  } else if (given.projects.empty()) {
    line->mode = RunMode::kUsageError;
    line->error = kNoProjectNamed.In(language);
  } else if (std::string shared = SharedOutputPath(*line, language); !shared.empty()) {
    line->mode = RunMode::kUsageError;
    line->error = shared;
  }
}

CommandLine ParseBatch(const std::vector<std::string>& args, Language language) {
  CommandLine line;
  line.mode = RunMode::kBatch;
  CLI::App app{"dovrek"};
  BatchSwitches given;
  AddBatchSwitches(app, &line, &given);
  AddPortfolioSwitches(app, &line, &given);
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    line.mode = RunMode::kUsageError;
    line.error = ParseErrorText(e, language);
    return line;
  }
  // "\" separates folders in an output path as in every path the program is given.
  for (const BatchOutputKind& kind : kBatchOutputs) {
    std::string& path = line.*kind.path;
    if (!IsStandardOutput(path)) path = ToNativePath(path);
  }
  line.settings_path = ToNativePath(line.settings_path);
  ChooseBatchMode(given, language, &line);
  // The switch's check lets only "cp932" and "utf-8" through.
  line.text_encoding = EncodingNamed(given.text_encoding).value_or(Encoding::kCp932);
  if (!given.source_encoding.empty()) {
    line.source_encoding = SourceEncodingChoiceNamed(given.source_encoding);
  }
  if (given.projects.size() == 1) line.project_path = SourcePath::FromTyped(given.projects[0]);
  ChoosePortfolioMode(given, language, &line);
  return line;
}

}  // namespace

bool CommandLine::HasOutput() const {
  return std::any_of(std::begin(kBatchOutputs), std::end(kBatchOutputs),
                     [this](const BatchOutputKind& kind) { return !(this->*kind.path).empty(); });
}

std::optional<std::string> UnattendedProjectPath(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (!EqualsNoCase(args[i], "/a")) continue;
    std::string joined;
    for (size_t k = i + 1; k < args.size(); ++k) {
      if (k > i + 1) joined += ' ';
      joined += args[k];
    }
    return RemoveDoubleQuotes(TrimSpaces(joined));
  }
  return std::nullopt;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args, Language language) {
  if (std::optional<std::string> path = UnattendedProjectPath(args)) {
    CommandLine line;
    if (OptionBeforeUnattendedSwitch(args)) {
      // The unattended run takes no options: those in front of "/a" would be dropped unread.
      line.mode = RunMode::kUsageError;
      line.error = kOptionBeforeUnattended.In(language);
      return line;
    }
    line.mode = RunMode::kUnattended;
    line.project_path = SourcePath::FromTyped(*path);
    return line;
  }
  for (const std::string& arg : args) {
    if (LooksLikeOption(arg)) return ParseBatch(args, language);
  }
  CommandLine line;
  if (args.size() > 1) {
    line.mode = RunMode::kUsageError;
    line.error = kTooManyArguments.In(language);
  } else if (args.size() == 1) {
    line.project_path = SourcePath::FromTyped(args[0]);
  }
  return line;
}

}  // namespace dovrek
