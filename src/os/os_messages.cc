#include "os/os_messages.h"

namespace dovrek {

std::string UnknownSystemError(int error) {
  return "システム エラーです。(番号 " + std::to_string(error) + ")";
}

}  // namespace dovrek
