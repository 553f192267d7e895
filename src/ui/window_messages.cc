#include "ui/window_messages.h"

namespace dovrek {

std::string CreatePrompt(std::string_view native_path) {
  return std::string(native_path) + "\nこのファイルは存在しません。\nファイルを作成しますか?";
}

}  // namespace dovrek
