#include "app/desktop_handover.h"

#include <unistd.h>

#include <climits>

#include "os/child_process.h"
#include "app/app_messages.h"
#include "os/temporary_folder.h"
#include "workbook/cell_text.h"

namespace dovrek {
namespace {

constexpr char kWorkbookExtension[] = ".xlsx";

// True for the second and later bytes of a UTF-8 sequence, where a name must not be cut.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string WorkbookFileName(const std::string& project_name) {
  std::string name = project_name;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  if (name.find_first_not_of('.') == std::string::npos) name = "Dovrek";
  size_t fits = NAME_MAX - (sizeof(kWorkbookExtension) - 1);
  if (name.size() > fits) {
    while (fits > 0 && IsContinuationByte(name[fits])) --fits;
    name.resize(fits);
  }
  return name + kWorkbookExtension;
}

std::string CutTextsInformation(const std::vector<std::string>& procedures) {
  std::string text = CutTextsLead(kMaxCellCharacters);
  for (size_t i = 0; i < procedures.size() && i < kMostCutTextsNamed; ++i) {
    text += '\n';
    text += procedures[i];
  }
  if (procedures.size() > kMostCutTextsNamed) {
    text += '\n';
    text += MoreCutTexts(procedures.size() - kMostCutTextsNamed);
  }
  return text;
}

Status OpenInDesktopHandover::HandOver(const WorkbookSaver& save, const std::string& project_name) {
  std::string folder;
  if (Status made = MakePrivateFolder(&folder); !made.ok()) return made;
  std::string path = folder + "/" + WorkbookFileName(project_name);
  if (Status written = save(path); !written.ok()) {
    ::unlink(path.c_str());
    RemovePrivateFolder(folder);
    return written;
  }
  saved_path_ = path;
  pid_t pid = StartOpener(path);
  if (pid < 0) {
    msg_.ShowInformation(NotOpenedInformation(path));
  } else if (wait_ == OpenerWait::kInBackground) {
    // The window goes on at once; the watch says when the opener failed.
    watch_.Watch(pid, verdict_wait_,
                 [&msg = msg_, path] { msg.ShowInformation(NotOpenedInformation(path)); });
  } else {
    ChildVerdict verdict = AwaitChild(pid, verdict_wait_);
    if (!verdict.succeeded) msg_.ShowInformation(NotOpenedInformation(path));
    if (!verdict.reaped) watch_.Reap(pid);
  }
  return Status::OK();
}

void OpenInDesktopHandover::ReportCutTexts(const std::vector<std::string>& procedures) {
  if (!procedures.empty()) msg_.ShowInformation(CutTextsInformation(procedures));
}

// Starts the opener directly, without a shell, with the file's path last. Answers its process
// id, or -1.
pid_t OpenInDesktopHandover::StartOpener(const std::string& path) {
  std::vector<std::string> args = opener_;
  if (args.empty()) return -1;
  args.push_back(path);
  return StartProcess(std::move(args));
}

}  // namespace dovrek
