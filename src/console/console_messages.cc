#include "console/console_messages.h"

namespace dovrek {

std::string FileNamePrompt(std::string_view filter_name) {
  return std::string(filter_name) + " のファイル名を入力してください (空欄で取り消し): ";
}

std::string OverwritePrompt(std::string_view native_path) {
  return std::string(native_path) + " は既に存在します。上書きしますか?";
}

}  // namespace dovrek
