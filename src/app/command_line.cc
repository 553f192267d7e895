#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include "app/output_identity.h"
#include "platform/native_path.h"
#include "platform/text_helpers.h"

namespace dovrek {
namespace {

constexpr char kUsage[] =
    R"(Usage:
  dovrek                          the main window
  dovrek PROJECT.vbp              the main window with the project filled in
  dovrek /a PROJECT.vbp           an unattended run with the options of Dovrek.ini
  dovrek [OPTIONS] PROJECT.vbp    a batch run: no windows, the exit status tells the outcome

Options:
  -t, --text FILE               write the text report to FILE ("-": standard output)
  -x, --workbook FILE           write the workbook to FILE (.xlsx; "-": standard output when
                                it is not a terminal)
  -j, --json FILE               write the model as JSON to FILE ("-": standard output)
      --cmt, --no-cmt           skip comment lines holding two quotes in a row (or not)
      --func, --no-func         comments above a procedure describe it (or not)
      --dir, --no-dir           skip members outside the project folder (or not)
      --trim, --no-trim         keep the source column of comments (or not)
      --text-encoding ENC       cp932 (default) or utf-8 for the text report
      --complete, --no-complete every procedure kind and component (or not)
      --source-encoding ENC     cp932, utf-8, cp1252 or auto: how the sources are decoded
  -q, --quiet                   no progress display and no closing summary
  -h, --help                    this text
      --version                 the program's version

Exit status: 0 done, 1 the run failed (the message is on standard error), 2 bad usage.
)";

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
std::string SharedOutputPath(const CommandLine& line) {
  std::vector<std::string> seen;
  for (const std::string* path : {&line.text_path, &line.workbook_path, &line.json_path}) {
    if (path->empty()) continue;
    std::string key = OutputIdentity(*path);
    for (const std::string& earlier : seen) {
      if (earlier != key) continue;
      if (NamesStandardOutput(*path)) return "標準出力に書き出せる出力は 1 つだけです。";
      return *path + ": 2 つの出力に同じファイルが指定されています。";
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

CommandLine ParseBatch(const std::vector<std::string>& args) {
  CommandLine line;
  line.mode = RunMode::kBatch;
  CLI::App app{"dovrek"};
  app.set_help_flag();
  bool help = false, version = false;
  std::string encoding = "cp932", project;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_option("-t,--text", line.text_path);
  app.add_option("-x,--workbook", line.workbook_path);
  app.add_option("-j,--json", line.json_path);
  AddParsingSwitch(app, "cmt", &line.cmt);
  AddParsingSwitch(app, "func", &line.func);
  AddParsingSwitch(app, "dir", &line.dir);
  AddParsingSwitch(app, "trim", &line.trim);
  app.add_option("--text-encoding", encoding)->check(CLI::IsMember({"cp932", "utf-8"}));
  AddParsingSwitch(app, "complete", &line.complete);
  std::string source;
  app.add_option("--source-encoding", source)
      ->check(CLI::IsMember({"cp932", "utf-8", "cp1252", "auto"}));
  app.add_flag("-q,--quiet", line.quiet);
  app.add_option("project", project);
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    line.mode = RunMode::kUsageError;
    line.error = e.what();
    return line;
  }
  if (help)
    line.mode = RunMode::kHelp;
  else if (version)
    line.mode = RunMode::kVersion;
  else if (project.empty()) {
    line.mode = RunMode::kUsageError;
    line.error = "プロジェクト ファイルが指定されていません。";
  } else if (std::string shared = SharedOutputPath(line); !shared.empty()) {
    line.mode = RunMode::kUsageError;
    line.error = shared;
  }
  line.text_encoding = encoding == "utf-8" ? TextEncoding::Utf8 : TextEncoding::Cp932;
  if (!source.empty()) line.source_encoding = SourceEncodingNamed(source);
  line.project_path = SourcePath::FromTyped(project);
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

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  if (std::optional<std::string> path = UnattendedProjectPath(args)) {
    CommandLine line;
    if (OptionBeforeUnattendedSwitch(args)) {
      // The unattended run takes no options: those in front of "/a" would be dropped unread.
      line.mode = RunMode::kUsageError;
      line.error =
          "/a の前にオプションは指定できません (/a の後ろはすべてプロジェクトのパスです)。";
      return line;
    }
    line.mode = RunMode::kUnattended;
    line.project_path = SourcePath::FromTyped(*path);
    return line;
  }
  for (const std::string& arg : args) {
    if (LooksLikeOption(arg)) return ParseBatch(args);
  }
  CommandLine line;
  if (args.size() > 1) {
    line.mode = RunMode::kUsageError;
    line.error = "引数が多すぎます。";
  } else if (args.size() == 1) {
    line.project_path = SourcePath::FromTyped(args[0]);
  }
  return line;
}

std::string UsageText() { return kUsage; }

}  // namespace dovrek
