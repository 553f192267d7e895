#include "platform/interrupt_cleanup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace dovrek {
namespace {

// A run writes at most a handful of outputs at once (report, workbook, JSON, settings).
constexpr int kSlots = 16;
constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Fixed storage, so that the handler reads it without allocating or locking. A slot's path is
// written before `used` is set and `used` is cleared before the path changes again.
struct Slot {
  std::atomic<bool> used{false};
  char path[PATH_MAX];
};
Slot g_slots[kSlots];
std::mutex g_claim;  // between threads only; the handler never takes it

static_assert(std::atomic<bool>::is_always_lock_free);

void RemoveTemporaryFiles(int signal_number) {
  for (Slot& slot : g_slots) {
    if (slot.used.load()) ::unlink(slot.path);
  }
  // SA_RESETHAND has restored the default action; the signal stays blocked until the handler
  // returns, and is then delivered again to end the process.
  ::raise(signal_number);
}

void InstallHandlers() {
  for (int signal_number : kCleanupSignals) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO)) {
      continue;
    }
    struct sigaction cleanup {};
    cleanup.sa_handler = RemoveTemporaryFiles;
    cleanup.sa_flags = SA_RESETHAND;
    sigemptyset(&cleanup.sa_mask);
    ::sigaction(signal_number, &cleanup, nullptr);
  }
}

// Records a path in a free slot; -1 when none is free or the path does not fit.
int RegisterTemporaryFile(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  std::lock_guard<std::mutex> lock(g_claim);
  for (int i = 0; i < kSlots; ++i) {
    if (g_slots[i].used.load()) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].used.store(true);
    return i;
  }
  return -1;
}

}  // namespace

int CreateTemporaryFile(std::string* path_template, int* slot) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  sigset_t held, before;
  sigemptyset(&held);
  for (int signal_number : kCleanupSignals) sigaddset(&held, signal_number);
  ::pthread_sigmask(SIG_BLOCK, &held, &before);
  int fd = ::mkostemp(path_template->data(), O_CLOEXEC);
  int saved = errno;
  *slot = fd >= 0 ? RegisterTemporaryFile(*path_template) : -1;
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = saved;
  return fd;
}

void ForgetTemporaryFile(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  std::lock_guard<std::mutex> lock(g_claim);
  g_slots[slot].used.store(false);
}

}  // namespace dovrek
