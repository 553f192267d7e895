#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include "app/output_identity.h"
#include "app/parse_error_text.h"
#include "platform/messages.h"
#include "platform/native_path.h"
#include "platform/text_helpers.h"

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
  for (const std::string* path : {&line.text_path, &line.workbook_path, &line.json_path}) {
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
  std::string project;
};

// Binds every batch switch to where its value goes.
void AddBatchSwitches(CLI::App& app, CommandLine* line, BatchSwitches* given) {
  app.set_help_flag();
  app.add_flag("-h,--help", given->help);
  app.add_flag("--version", given->version);
  app.add_option("-t,--text", line->text_path);
  app.add_option("-x,--workbook", line->workbook_path);
  app.add_option("-j,--json", line->json_path);
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
  app.add_option("project", given->project);
}

// The mode the parsed switches ask for: help and version first, then the usage errors.
void ChooseBatchMode(const BatchSwitches& given, Language language, CommandLine* line) {
  if (given.help) {
    line->mode = RunMode::kHelp;
  } else if (given.version) {
    line->mode = RunMode::kVersion;
  } else if (given.project.empty()) {
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
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    line.mode = RunMode::kUsageError;
    line.error = ParseErrorText(e, language);
    return line;
  }
  // "\" separates folders in an output path as in every path the program is given.
  for (std::string* path : {&line.text_path, &line.workbook_path, &line.json_path}) {
    if (!IsStandardOutput(*path)) *path = ToNativePath(*path);
  }
  line.settings_path = ToNativePath(line.settings_path);
  ChooseBatchMode(given, language, &line);
  line.text_encoding = given.text_encoding == "utf-8" ? TextEncoding::Utf8 : TextEncoding::Cp932;
  if (!given.source_encoding.empty()) {
    line.source_encoding = SourceEncodingNamed(given.source_encoding);
  }
  line.project_path = SourcePath::FromTyped(given.project);
  return line;
}

}  // namespace

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
