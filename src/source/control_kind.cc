#include "source/control_kind.h"

#include <string_view>

#include "base/text_helpers.h"

namespace dovrek {
namespace {

struct KindName {
  std::string_view cls;
  std::string_view text;
};

// The classes of the built-in library, and the windows themselves.
constexpr KindName kBuiltIn[] = {
    {"CommandButton", "コマンドボタン"},
    {"TextBox", "テキストボックス"},
    {"Label", "ラベル"},
    {"Frame", "フレーム"},
    {"CheckBox", "チェックボックス"},
    {"OptionButton", "オプションボタン"},
    {"ComboBox", "コンボボックス"},
    {"ListBox", "リストボックス"},
    {"PictureBox", "ピクチャボックス"},
    {"Image", "イメージ"},
    {"Timer", "タイマー"},
    {"Menu", "メニュー"},
    {"HScrollBar", "水平スクロールバー"},
    {"VScrollBar", "垂直スクロールバー"},
    {"Shape", "シェイプ"},
    {"Line", "ライン"},
    {"DriveListBox", "ドライブリストボックス"},
    {"DirListBox", "フォルダリストボックス"},
    {"FileListBox", "ファイルリストボックス"},
    {"Data", "データ"},
    {"OLE", "OLE コンテナ"},
    {"Form", "フォーム"},
    {"MDIForm", "MDI フォーム"},
    {"UserControl", "ユーザーコントロール"},
    {"PropertyPage", "プロパティページ"},
    {"UserDocument", "ユーザードキュメント"},
};

// Components of other libraries that show nothing at run time.
constexpr std::string_view kInvisibleClasses[] = {
    "Timer",      "CommonDialog", "ImageList",     "Winsock",    "Inet",
    "MAPISession", "MAPIMessages", "MSComm",       "SysInfo",    "Data",
    "Adodc",      "DataEnvironment", "Script",     "MMControl",  "ScriptControl",
};

}  // namespace

std::string ControlKindText(const FormObject& object) {
  if (object.IsBuiltIn()) {
    for (const KindName& kind : kBuiltIn) {
      if (EqualsNoCase(object.Class, kind.cls)) return std::string(kind.text);
    }
  }
  return object.QualifiedClass();
}

bool IsInvisibleAtRunTime(const FormObject& object) {
  for (std::string_view cls : kInvisibleClasses) {
    if (EqualsNoCase(object.Class, cls)) return true;
  }
  return false;
}

}  // namespace dovrek
