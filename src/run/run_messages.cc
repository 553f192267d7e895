#include "run/run_messages.h"

namespace dovrek {

std::string SettingsFileTooLarge(size_t limit) {
  return "ファイルが大きすぎます。(設定ファイルは " + std::to_string(limit >> 20) + " MiB まで)";
}

std::string UnexpectedFailure(std::string_view what) {
  std::string text = "予期しないエラーが発生しました。";
  if (!what.empty()) text += "(" + std::string(what) + ")";
  return text;
}

}  // namespace dovrek
