#pragma once
// The lines that end a batch run on standard error: what was read, what was written where,
// and how long it took.

#include <string>

#include "model/specification_model.h"
#include "app/command_line.h"

namespace dovrek {

// "完了: <name> — フォーム 1、標準モジュール 2、クラス モジュール 0、プロシージャ 9 → テキスト:
// <path>、ワークブック: <path>、JSON: 標準出力 (0.12 秒)", and on a second line the settings
// file the run read, "設定ファイル: <path as given>" or "設定ファイル: なし". The name is the
// project's Name, or the project file's name when the project names none; the outputs are
// those the command line asked for, with their paths as given. In complete mode the counts of user
// controls, property pages, user documents and designers follow the class modules, and the
// procedures are counted by kind as well: "プロシージャ 9 (Sub 5、Property Get 2、Event 2)".
std::string BatchSummary(const SpecificationModel& model, const CommandLine& line, bool complete,
                         double seconds);

}  // namespace dovrek
