#include "app/portfolio_run.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "app/batch_summary.h"
#include "app/console_runs.h"
#include "app/inventory_file.h"
#include "app/portfolio_inputs.h"
#include "app/portfolio_messages.h"
#include "app/project_run.h"
#include "app/recorded_messages.h"
#include "console/console_message_box.h"
#include "os/folder_making.h"
#include "os/native_path.h"
#include "base/text_helpers.h"
#include "run/generation_driver.h"
#include "app/app_messages.h"

namespace dovrek {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// What became of one project.
struct ProjectResult {
  InventoryRow row;
  std::vector<std::string> missing;  // the member files left out, as messages name them
  std::string done_line;             // the summary line of a project written
};

// The command line of one project: the outputs its stem gives in the output folder.
CommandLine ProjectLine(const CommandLine& line, const PortfolioProject& project) {
  CommandLine one = line;
  one.mode = RunMode::kBatch;
  one.project_path = project.path;
  one.portfolio = {};
  const PortfolioRequest& request = line.portfolio;
  if (request.output_dir.empty()) return one;
  const std::string stem = request.output_dir + "/" + project.stem;
  for (const BatchOutputKind& kind : kBatchOutputs) {
    if (request.*kind.chosen) one.*kind.path = stem + kind.extension;
  }
  return one;
}

ProjectResult Failed(const PortfolioProject& project, std::string why) {
  ProjectResult result;
  result.row.Path = project.path.display();
  result.row.Outcome = kOutcomeFailed;
  result.row.Message = std::move(why);
  return result;
}

// The projects of the run and what is shared by the threads that run them.
class PortfolioPool {
 public:
  PortfolioPool(const CommandLine& line, const Options& options,
                std::vector<PortfolioProject> projects)
      : line_(line), options_(options), projects_(std::move(projects)),
        results_(projects_.size()) {}

  // Runs every project on up to one thread a core; answers when all have ended.
  std::vector<ProjectResult> Run();

 private:
  void Work();
  ProjectResult RunOne(const PortfolioProject& project);
  ProjectResult RunRead(const PortfolioProject& project, const CommandLine& one);
  void Report(const ProjectResult& result);

  const CommandLine& line_;
  const Options options_;
  const std::vector<PortfolioProject> projects_;
  std::vector<ProjectResult> results_;  // each written by the one thread that ran its project
  std::atomic<size_t> next_{0};
  std::mutex report_;  // standard error and the count of projects ended
  size_t ended_ = 0;
};

std::vector<ProjectResult> PortfolioPool::Run() {
  size_t threads = std::max(1u, std::thread::hardware_concurrency());
  threads = std::min(threads, projects_.size());
  std::vector<std::thread> pool;
  for (size_t i = 0; i < threads; ++i) pool.emplace_back([this] { Work(); });
  for (std::thread& thread : pool) thread.join();
  return std::move(results_);
}

void PortfolioPool::Work() {
  for (size_t i = next_++; i < projects_.size(); i = next_++) {
    try {
      results_[i] = RunOne(projects_[i]);
    } catch (const std::exception& e) {
      results_[i] = Failed(projects_[i], e.what());
    }
    Report(results_[i]);
  }
}

ProjectResult PortfolioPool::RunOne(const PortfolioProject& project) {
  if (!project.problem.empty()) return Failed(project, project.problem);
  CommandLine one = ProjectLine(line_, project);
  for (const BatchOutputKind& kind : kBatchOutputs) {
    const std::string* output = &(one.*kind.path);
    if (output->empty()) continue;
    if (Status made = MakeFolders(output->substr(0, output->rfind('/'))); !made.ok()) {
      return Failed(project, made.message());
    }
  }
  return RunRead(project, one);
}

// Runs a project with outputs and a model of its own; the model is freed on return.
ProjectResult PortfolioPool::RunRead(const PortfolioProject& project, const CommandLine& one) {
  const auto started = Clock::now();
  RecordedMessages msg;
  ConsoleProgressWindow progress(false);  // the projects' lines are the progress
  auto model = std::make_unique<SpecificationModel>();
  int status = RefusalOfOutputOverInput(one, {project.path.found()}, msg);
  if (status == 0) status = RunProject(one, options_, msg, progress, *model);
  if (status != 0) {
    ProjectResult failed = Failed(project, msg.Problems());
    failed.row.Project = model->Project;  // as far as the project file was read
    return failed;
  }
  ProjectResult result;
  result.missing = MissingMembers(project.path, *model);
  if (!line_.portfolio.inventory_path.empty()) {
    result.row = InventoryRowOf(project.path, *model, options_.Complete);
  }
  result.row.Path = project.path.display();
  result.row.Outcome = result.missing.empty() ? kOutcomeWritten : kOutcomeMissing;
  for (const std::string& member : result.missing) {
    result.row.Message += (result.row.Message.empty() ? "" : "\n") + member;
  }
  if (!line_.quiet) {
    result.done_line = BatchSummary(*model, one, options_.Complete, SecondsSince(started));
  }
  return result;
}

// "[n/N] " and the project's summary line, or its failure.
void PortfolioPool::Report(const ProjectResult& result) {
  std::lock_guard lock(report_);
  ++ended_;
  if (line_.quiet) return;
  const InventoryRow& row = result.row;
  std::cerr << "[" << ended_ << "/" << projects_.size() << "] "
            << (result.done_line.empty() ? row.Path + ": " + row.Message : result.done_line)
            << std::endl;
}

// The closing lines: every project not written whole, with why, then the totals.
void PrintSummary(const std::vector<ProjectResult>& results, bool quiet, double seconds) {
  size_t written = 0, missing = 0, failed = 0;
  for (const ProjectResult& result : results) {
    const InventoryRow& row = result.row;
    if (row.Outcome == kOutcomeWritten) {
      ++written;
      continue;
    }
    ++(row.Outcome == kOutcomeMissing ? missing : failed);
    std::cerr << row.Outcome << ": " << row.Path;
    if (row.Outcome == kOutcomeFailed) std::cerr << ": " << row.Message;
    std::cerr << "\n";
    for (const std::string& member : result.missing) std::cerr << kMissingMemberLead << member << "\n";
  }
  if (!quiet) {
    std::cerr << PortfolioTotals(results.size(), written, missing, failed)
              << SummarySeconds(seconds) << "\n";
  }
  std::cerr.flush();
}

}  // namespace

int RunPortfolio(const CommandLine& line) {
  const auto started = Clock::now();
  ConsoleMessageBox msg;
  const PortfolioRequest& request = line.portfolio;
  Options options;
  if (int refused = BatchOptions(line, msg, &options)) return refused;
  options.Xls = CheckStateOf(!request.output_dir.empty() && request.workbook);
  options.Txt = CheckStateOf(!request.output_dir.empty() && request.text);
  if (!request.output_dir.empty()) {
    if (Status made = MakeFolders(request.output_dir); !made.ok()) {
      msg.ShowError(made.message());
      return 1;
    }
  }
  PortfolioPool pool(line, options, PortfolioProjects(request.inputs));
  std::vector<ProjectResult> results = pool.Run();
  PrintSummary(results, line.quiet, SecondsSince(started));
  bool whole = std::all_of(results.begin(), results.end(), [](const ProjectResult& r) {
    return r.row.Outcome == kOutcomeWritten;
  });
  if (!request.inventory_path.empty()) {
    std::vector<InventoryRow> rows;
    for (ProjectResult& result : results) rows.push_back(std::move(result.row));
    if (Status written = WriteInventory(request.inventory_path, rows); !written.ok()) {
      msg.ShowError(written.message());
      return 1;
    }
    if (!line.quiet) std::cerr << kInventoryLead << request.inventory_path << std::endl;
  }
  return whole ? 0 : 1;
}

}  // namespace dovrek
