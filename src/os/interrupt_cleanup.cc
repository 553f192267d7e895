#include "os/interrupt_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace dovrek {
namespace {

// A run writes at most a handful of outputs at once (report, workbook, JSON, settings), and a
// batch run keeps one private folder for what goes to standard output; a run over many
// projects has that many for each project running, one a core.
constexpr int kSlots = 128;

// The signals whose default action ends the process and that a handler may catch, except the
// real-time ones, which are added when the handlers are installed. SIGTRAP is left to
// debuggers.
constexpr int kEndingSignals[] = {
    SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGABRT, SIGBUS, SIGFPE,  SIGUSR1,
    SIGSEGV, SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM,
    SIGPROF, SIGIO,     SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

// Fixed storage, so that the handler reads it without allocating or locking. A slot's path is
// written before `used` is set and `used` is cleared before the path changes again.
struct Slot {
  std::atomic<bool> used{false};
  bool folder = false;
  char path[PATH_MAX];
};
Slot g_slots[kSlots];
std::mutex g_claim;  // between threads only; the handler never takes it
sigset_t g_handled;  // the signals with the clean-up handler, set once before any slot is used

static_assert(std::atomic<bool>::is_always_lock_free);

// Removes a private folder and the files directly in it, with calls that are safe in a signal
// handler (no allocation: the entries are read into a buffer on the stack).
void RemoveFolder(const char* path) {
  int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    alignas(dirent64) char entries[4096];
    ssize_t n = 0;
    while ((n = ::getdents64(fd, entries, sizeof entries)) > 0) {
      for (ssize_t at = 0; at < n;) {
        const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
        const char* name = entry->d_name;
        bool dots = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
        if (!dots) ::unlinkat(fd, name, 0);
        at += entry->d_reclen;
      }
    }
    ::close(fd);
  }
  ::rmdir(path);
}

void RemoveTemporaryFiles(int signal_number) {
  int saved = errno;
  // Files first: a folder goes only once it is empty.
  for (Slot& slot : g_slots) {
    if (slot.used.load() && !slot.folder) ::unlink(slot.path);
  }
  for (Slot& slot : g_slots) {
    if (slot.used.load() && slot.folder) RemoveFolder(slot.path);
  }
  errno = saved;
  // SA_RESETHAND has restored the default action; the signal stays blocked until the handler
  // returns, and is then delivered again to end the process.
  ::raise(signal_number);
}

void InstallHandler(int signal_number) {
  struct sigaction current {};
  if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
      (current.sa_flags & SA_SIGINFO)) {
    return;
  }
  struct sigaction cleanup {};
  cleanup.sa_handler = RemoveTemporaryFiles;
  cleanup.sa_flags = SA_RESETHAND;
  cleanup.sa_mask = g_handled;  // a second signal waits until the first has cleaned up
  if (::sigaction(signal_number, &cleanup, nullptr) != 0) sigdelset(&g_handled, signal_number);
}

void InstallHandlers() {
  sigemptyset(&g_handled);
  for (int signal_number : kEndingSignals) sigaddset(&g_handled, signal_number);
  for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number) {
    sigaddset(&g_handled, signal_number);
  }
  for (int signal_number : kEndingSignals) InstallHandler(signal_number);
  for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number) {
    InstallHandler(signal_number);
  }
}

void InstallHandlersOnce() {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
}

// Records a path in a free slot; -1 when none is free or the path does not fit.
int Register(const std::string& path, bool folder) {
  if (path.size() >= PATH_MAX) return -1;
  std::lock_guard<std::mutex> lock(g_claim);
  for (int i = 0; i < kSlots; ++i) {
    if (g_slots[i].used.load()) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].folder = folder;
    g_slots[i].used.store(true);
    return i;
  }
  return -1;
}

// Makes something with `make` (true when made) and records `path` with the clean-up signals
// held back in between, so that no interruption leaves it unrecorded. Keeps make's errno.
template <typename Make>
bool MakeRecorded(Make make, const std::string* path, bool folder, int* slot) {
  InstallHandlersOnce();
  sigset_t before;
  ::pthread_sigmask(SIG_BLOCK, &g_handled, &before);
  bool made = make();
  int saved = errno;
  *slot = made ? Register(*path, folder) : -1;
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = saved;
  return made;
}

}  // namespace

void IgnoreWriteSignals() {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
  InstallHandlersOnce();
}

int CreateTemporaryFile(std::string* path_template, int* slot) {
  int fd = -1;
  MakeRecorded(
      [&] {
        fd = ::mkostemp(path_template->data(), O_CLOEXEC);
        return fd >= 0;
      },
      path_template, /*folder=*/false, slot);
  return fd;
}

bool CreateTemporaryFolder(std::string* path_template, int* slot) {
  return MakeRecorded([&] { return ::mkdtemp(path_template->data()) != nullptr; }, path_template,
                      /*folder=*/true, slot);
}

void ForgetParentTemporaryFiles() {
  // No lock: the copy has one thread, and the lock may have been held by another thread of the
  // parent when the copy was made.
  for (Slot& slot : g_slots) slot.used.store(false);
}

void ForgetTemporaryFile(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  std::lock_guard<std::mutex> lock(g_claim);
  g_slots[slot].used.store(false);
}

}  // namespace dovrek
