#include "platform/held_renames.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "platform/interrupt_cleanup.h"
#include "platform/system_error.h"

namespace dovrek {
namespace {
thread_local HeldRenames* t_current = nullptr;
}  // namespace

HeldRenames::HeldRenames() : enclosing_(t_current) { t_current = this; }

HeldRenames::~HeldRenames() {
  RemoveAll();
  t_current = enclosing_;
}

HeldRenames* HeldRenames::Current() { return t_current; }

void HeldRenames::Hold(std::string temporary, std::string target, std::string path,
                       int cleanup_slot) {
  held_.push_back({std::move(temporary), std::move(target), std::move(path), cleanup_slot});
}

std::string HeldRenames::CurrentName(const std::string& target) const {
  for (const Held& file : held_) {
    if (file.target == target) return file.temporary;
  }
  return target;
}

Status HeldRenames::Release() {
  for (size_t i = 0; i < held_.size(); ++i) {
    Held& file = held_[i];
    if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) {
      Status failed = Status::IoError(FileErrorMessage(file.path, errno));
      held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(i));
      RemoveAll();
      return failed;
    }
    ForgetTemporaryFile(file.cleanup_slot);
  }
  held_.clear();
  return Status::OK();
}

void HeldRenames::RemoveAll() {
  for (const Held& file : held_) {
    ForgetTemporaryFile(file.cleanup_slot);
    ::unlink(file.temporary.c_str());
  }
  held_.clear();
}

}  // namespace dovrek
