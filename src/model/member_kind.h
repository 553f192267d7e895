#pragma once
// The kinds of member file a project lists, and everything each layer needs to know of a kind:
// how the project file names it, when it is read, and how the progress, the reports and the
// summary call it. Every layer loops over kMemberKinds, so a new kind is one row here (and, for
// the workbook, its defined name in the template).

#include <array>
#include <cstddef>

namespace dovrek {

// In the order the project's lists are read and reported.
enum class MemberKind { kForm, kModule, kClass, kControl, kPage, kDocument, kDesigner };

inline constexpr size_t kMemberKindCount = 7;

struct MemberKindRow {
  MemberKind kind;
  // The project-file key ("Form=..."), matched in any letter case; the value's text up to the
  // separator and the separator itself are not part of the path ("Module=Name; path").
  const char* key;
  char separator;
  // Read and reported only in complete mode; other runs pass the project-file line by.
  bool complete_only;
  // A missing file is skipped (and named afterwards) instead of failing the run: designers and
  // their kin are often binary or left out of a source tree, while the code of a missing form,
  // module or class would be lost unnoticed.
  bool may_be_missing;
  // The member is a window whose screen complete mode describes.
  bool has_screen;
  // The progress phase while the kind's members are read.
  const char* reading;
  // The kind in the batch summary ("フォーム 3").
  const char* label;
  // The text report's heading of the list.
  const char* heading;
  // The defined name of the workbook cell that holds the list.
  const char* defined_name;
  // The JSON key of the list.
  const char* json_key;

  // Whether a run in complete mode or not reads and reports the kind.
  constexpr bool ReadIn(bool complete_mode) const { return complete_mode || !complete_only; }
};

inline constexpr std::array<MemberKindRow, kMemberKindCount> kMemberKinds = {{
    {MemberKind::kForm, "Form", '=', false, false, true, "フォームを読み込んでいます…",
     "フォーム", "○使用するフォームモジュール", "FORM", "forms"},
    {MemberKind::kModule, "Module", ';', false, false, false,
     "標準モジュールを読み込んでいます…", "標準モジュール", "○使用する標準モジュール", "MODULE",
     "modules"},
    {MemberKind::kClass, "Class", ';', false, false, false,
     "クラス モジュールを読み込んでいます…", "クラス モジュール", "○使用するクラスモジュール",
     "CLASS", "classes"},
    {MemberKind::kControl, "UserControl", '=', true, true, true,
     "ユーザーコントロールを読み込んでいます…", "ユーザーコントロール",
     "○使用するユーザーコントロール", "CONTROL", "controls"},
    {MemberKind::kPage, "PropertyPage", '=', true, true, true,
     "プロパティページを読み込んでいます…", "プロパティページ", "○使用するプロパティページ",
     "PAGE", "pages"},
    {MemberKind::kDocument, "UserDocument", '=', true, true, true,
     "ユーザードキュメントを読み込んでいます…", "ユーザードキュメント",
     "○使用するユーザードキュメント", "DOCUMENT", "documents"},
    {MemberKind::kDesigner, "Designer", '=', true, true, false, "デザイナを読み込んでいます…",
     "デザイナ", "○使用するデザイナ", "DESIGNER", "designers"},
}};

static_assert(
    [] {
      for (size_t i = 0; i < kMemberKindCount; ++i) {
        if (kMemberKinds[i].kind != static_cast<MemberKind>(i)) return false;
      }
      return true;
    }(),
    "each kind's row stands at the kind's own index");

}  // namespace dovrek
