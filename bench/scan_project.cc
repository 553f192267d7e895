// Reads every member of a project with ReadModule and tells how long that took:
//   scan_project [--dump] PROJECT.vbp...
// With --dump, every procedure is printed as one tab-separated line (file, scope, name,
// parameters, return type, comment with line feeds shown as "\n").
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "console/console_message_box.h"
#include "os/native_path.h"
#include "project_members.h"
#include "source/module_scanner.h"

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

void Dump(const dovrek::SpecificationModel& model) {
  for (const dovrek::ProcedureEntry& e : model.Procedures) {
    std::cout << e.FileName << '\t' << e.Scope << '\t' << e.Name << '\t' << e.Parameters << '\t'
              << e.ReturnType << '\t' << Escaped(e.Comment) << '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool dump = false;
  std::vector<std::string> projects;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dump") == 0) {
      dump = true;
    } else {
      projects.push_back(dovrek::ToWindowsPath(dovrek::MakeAbsolute(argv[i])));
    }
  }
  if (projects.empty()) {
    std::cerr << "usage: scan_project [--dump] PROJECT.vbp...\n";
    return 2;
  }
  dovrek::Options options;
  options.Cmt = options.Func = options.Trim = dovrek::CheckState::kOn;
  dovrek::ConsoleMessageBox msg;
  int status = 0;
  for (const std::string& project : projects) {
    auto start = std::chrono::steady_clock::now();
    std::vector<std::string> members;
    std::string error;
    if (!dovrek::bench::ProjectMembers(project, &members, &error)) {
      msg.ShowError(error);
      status = 1;
      continue;
    }
    dovrek::SpecificationModel model;
    size_t read = 0;
    for (const std::string& member : members) {
      dovrek::Status read_member =
          dovrek::ReadModule(dovrek::SourcePath::Locate(member), options, &model);
      if (!read_member.ok()) {
        msg.ShowError(read_member.message());
        status = 1;
        break;
      }
      ++read;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (dump) Dump(model);
    std::fprintf(stderr, "%s: %zu of %zu files, %zu procedures, %.3f s\n",
                 dovrek::ToNativePath(project).c_str(), read, members.size(),
                 model.Procedures.size(), seconds);
  }
  return status;
}
