#include "app/app_messages.h"

#include <cmath>
#include <cstdio>

namespace dovrek {

std::string NotOpenedInformation(std::string_view native_path) {
  return "ワークブックを開くアプリケーションを起動できませんでした。ファイルは次の場所に保存されて"
         "います。\n" +
         std::string(native_path);
}

std::string CutTextsLead(size_t limit) {
  const std::string characters = std::to_string(limit);
  return "次の関数の文字列が 1 つのセルに入る " + characters +
         " 文字を超えたため、ワークブックでは " + characters + " 文字で切りました。";
}

std::string MoreCutTexts(size_t more) { return "ほか " + std::to_string(more) + " 個"; }

std::string SameFileForTwoOutputs(std::string_view native_path, Language language) {
  return std::string(native_path) + (language == Language::kJapanese
                                         ? ": 2 つの出力に同じファイルが指定されています。"
                                         : ": two outputs name the same file");
}

std::string UnknownOption(std::string_view arguments, Language language) {
  return (language == Language::kJapanese ? "不明なオプションです: " : "unknown option: ") +
         std::string(arguments);
}

std::string UnexpectedArgument(std::string_view arguments, Language language) {
  return (language == Language::kJapanese ? "余分な引数です: " : "unexpected argument: ") +
         std::string(arguments);
}

std::string MissingValue(std::string_view option, Language language) {
  return std::string(option) +
         (language == Language::kJapanese ? ": 値が指定されていません。" : ": a value is missing");
}

std::string ValueNotAllowed(std::string_view option, std::string_view value,
                            std::string_view allowed, Language language) {
  if (language == Language::kJapanese) {
    return std::string(option) + ": " + std::string(value) + " は指定できません。" +
           std::string(allowed) + " のどれかを指定してください。";
  }
  return std::string(option) + ": " + std::string(value) + " is not one of " + std::string(allowed);
}

std::string OptionsExclude(std::string_view option, std::string_view other, Language language) {
  if (language == Language::kJapanese) {
    return std::string(option) + " と " + std::string(other) + " は同時に指定できません。";
  }
  return std::string(option) + " cannot be given with " + std::string(other);
}

std::string BadCommandLine(std::string_view what, Language language) {
  return (language == Language::kJapanese ? "コマンド ラインが正しくありません: "
                                          : "bad command line: ") +
         std::string(what);
}

std::string SummarySeconds(double seconds) {
  const long long milliseconds = std::llround(seconds * 1000);
  if (milliseconds < 1000) return " (" + std::to_string(milliseconds) + " ms)";
  char time[32];
  std::snprintf(time, sizeof time, "%.2f", seconds);
  return std::string(" (") + time + " 秒)";
}

}  // namespace dovrek
