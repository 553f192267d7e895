#include "test_support.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "os/native_path.h"
#include "texts/box_titles.h"

namespace dovrek::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dovrek-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  return file.string();
}

std::string TempDir::Native(const std::string& relative) const {
  return (path_ / relative).string();
}

std::string TempDir::Windows(const std::string& relative) const {
  return ToWindowsPath(Native(relative));
}

FolderEvents::FolderEvents(const std::filesystem::path& folder, uint32_t mask)
    : fd_(::inotify_init1(IN_NONBLOCK)), mask_(mask) {
  ::inotify_add_watch(fd_, folder.c_str(), IN_ALL_EVENTS);
}

FolderEvents::~FolderEvents() { ::close(fd_); }

int FolderEvents::CountFor(const std::string& name) {
  int count = 0;
  alignas(inotify_event) char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
    for (char* p = buffer; p < buffer + n;) {
      auto* event = reinterpret_cast<inotify_event*>(p);
      if ((event->mask & mask_) && name == (event->len > 0 ? event->name : "")) ++count;
      p += sizeof(inotify_event) + event->len;
    }
  }
  return count;
}

std::string ReadFileBytes(const std::string& native_path) {
  std::ifstream in(native_path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string CorpusFolder() {
  std::filesystem::path corpus =
      std::filesystem::path(DOVREK_SOURCE_DIR) / ".." / "shared" / "corpus";
  std::error_code ec;
  return std::filesystem::is_directory(corpus, ec) ? corpus.lexically_normal().string() : "";
}

bool RecordingMessageBox::Ask(const std::string& m) {
  shown.push_back(std::string(kQuestionTitle) + "|" + m);
  if (answers.empty()) return false;
  bool answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace dovrek::testing
