#pragma once
// The texts of writing the reports: the phase shown while they write, a template or a project
// the workbook cannot hold, and the text report running out of memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovrek {

// The phase while either report writes its procedures.
inline constexpr char kFunctionListPhase[] = "関数一覧を出力しています…";
inline constexpr char kTemplateMissingMessage[] = "XLT ファイルが存在しません。";
// More procedures (`count`) than the function list's worksheet holds (`most`).
std::string TooManyProceduresMessage(size_t count, size_t most);
// Descriptions so long that the function list needs more rows than a worksheet has.
std::string FunctionListTooLongMessage(uint64_t rows, uint64_t most);
// A template (native path) with fewer worksheets than the workbook needs.
std::string TooFewWorksheetsMessage(std::string_view native_path, size_t needed, size_t found);
// Running out of memory while the text report `native_path` was at `stage`, one of the four
// stages below: "<path>: メモリが不足しています。(テキスト レポートの<stage>)".
std::string TextReportOutOfMemory(std::string_view native_path, std::string_view stage);
inline constexpr char kTextStageOpening[] = "ファイルの作成中";
inline constexpr char kTextStageHeading[] = "プロジェクト情報とモジュール一覧の出力中";
inline constexpr char kTextStageProcedures[] = "関数一覧の出力中";
inline constexpr char kTextStageClosing[] = "ファイルへの書き出し中";

}  // namespace dovrek
