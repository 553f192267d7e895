#pragma once
// What both reports write for a value that is not given, and for a list of member files.

#include <string>
#include <string_view>
#include <vector>

#include "model/specification_model.h"

namespace dovrek {

// The reports' word for a value the project does not give, and for an empty list.
inline constexpr char kNone[] = "なし";

// Follows the name of a member file that was not there when the run went on without it.
inline constexpr char kMissingMark[] = " (ファイルがありません)";

// The file names of the list, each after `bullet`, joined by bare line feeds (a line feed only
// once something has been written), a missing file's with kMissingMark; kNone when that leaves the text empty.
std::string MemberListText(const std::vector<MemberFile>& files, std::string_view bullet = "");

}  // namespace dovrek
