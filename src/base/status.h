#pragma once
// The outcome of an operation that can fail: success, or a failure with the description meant
// for the user and a kind for the callers that must tell failures apart. Functions that read or
// write files answer a Status instead of showing messages themselves; the caller that drives the
// run decides how a failure is shown.

#include <string>
#include <utility>

namespace dovrek {

class [[nodiscard]] Status {
 public:
  enum class Kind {
    kOk,
    kError,      // a failure no caller needs to tell from others
    kNotFound,   // an input that does not exist
    kIoError,    // the system refused or failed an open, a read or a write
    kBadInput,   // a file that was read but cannot be used as it stands
    kWrongKind,  // a file the user named that is not of the kind asked for (not a project)
  };

  // Success; also what a default-made Status is.
  Status() = default;
  static Status OK() { return Status(); }
  static Status Error(std::string message) { return {Kind::kError, std::move(message)}; }
  static Status NotFound(std::string message) { return {Kind::kNotFound, std::move(message)}; }
  static Status IoError(std::string message) { return {Kind::kIoError, std::move(message)}; }
  static Status BadInput(std::string message) { return {Kind::kBadInput, std::move(message)}; }
  static Status WrongKind(std::string message) { return {Kind::kWrongKind, std::move(message)}; }

  bool ok() const { return kind_ == Kind::kOk; }
  Kind kind() const { return kind_; }
  bool IsNotFound() const { return kind_ == Kind::kNotFound; }
  bool IsWrongKind() const { return kind_ == Kind::kWrongKind; }
  // The description of the failure, as the user is shown it; empty on success.
  const std::string& message() const { return message_; }

 private:
  Status(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

  Kind kind_ = Kind::kOk;
  std::string message_;
};

}  // namespace dovrek
