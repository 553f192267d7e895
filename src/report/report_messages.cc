#include "report/report_messages.h"

#include "texts/failure_messages.h"

namespace dovrek {

std::string TooManyProceduresMessage(size_t count, size_t most) {
  return "関数の数（" + std::to_string(count) +
         " 個）が 1 枚のワークシートに収まりません。関数一覧に書けるのは " + std::to_string(most) +
         " 個までです。";
}

std::string FunctionListTooLongMessage(uint64_t rows, uint64_t most) {
  return "関数の説明が長く、関数一覧に要る行（" + std::to_string(rows) +
         " 行）が 1 枚のワークシートの行数（" + std::to_string(most) + " 行）を超えます。";
}

std::string TooFewWorksheetsMessage(std::string_view native_path, size_t needed, size_t found) {
  return std::string(native_path) +
         ": テンプレートのワークシートが足りません: " + std::to_string(needed) + " 枚必要ですが " +
         std::to_string(found) + " 枚です。";
}

std::string TextReportOutOfMemory(std::string_view native_path, std::string_view stage) {
  return FileMessage(native_path,
                     std::string(kOutOfMemory) + "(テキスト レポートの" + std::string(stage) + ")");
}

}  // namespace dovrek
