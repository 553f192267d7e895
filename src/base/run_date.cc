#include "base/run_date.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace dovrek {
namespace {

// The seconds SOURCE_DATE_EPOCH gives, or -1 when it is unset or not a plain count.
long long SourceDateEpoch() {
  const char* value = std::getenv("SOURCE_DATE_EPOCH");
  if (!value || *value < '0' || *value > '9') return -1;
  char* end = nullptr;
  errno = 0;
  long long seconds = std::strtoll(value, &end, 10);
  if (errno != 0 || *end != '\0') return -1;
  return seconds;
}

}  // namespace

CalendarDate RunDate() {
  long long fixed = SourceDateEpoch();
  std::time_t moment = fixed >= 0 ? static_cast<std::time_t>(fixed) : std::time(nullptr);
  std::tm parts{};
  bool known = fixed >= 0 ? gmtime_r(&moment, &parts) != nullptr
                          : localtime_r(&moment, &parts) != nullptr;
  if (!known) return {1970, 1, 1};
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

}  // namespace dovrek
