#include "app/usage_text.h"

#include <algorithm>
#include <span>

namespace dovrek {
namespace {

// One line of the usage text: what is typed, and what it does in each language. A "\n" in a
// description continues it on the next line, under the first.
struct UsageLine {
  const char* typed;
  const char* english;
  const char* japanese;
};

// The ways to start the program.
constexpr UsageLine kStarts[] = {
    {"dovrek", "the main window", "メイン ウィンドウを開く"},
    {"dovrek PROJECT.vbp", "the main window with the project filled in",
     "プロジェクトのパスを入れてメイン ウィンドウを開く"},
    {"dovrek /a PROJECT.vbp", "an unattended run with the options of Dovrek.ini",
     "Dovrek.ini の設定で無人実行する"},
    {"dovrek [OPTIONS] PROJECT.vbp", "a batch run: no windows, the exit status tells the outcome",
     "バッチ実行: ウィンドウを出さず、結果は終了ステータスで返す"},
    {"dovrek [OPTIONS] --output-dir DIR PATH...",
     "many projects (.vbp, .vbg, folders) in one batch run",
     "複数のプロジェクト (.vbp、.vbg、フォルダ) を 1 回のバッチ実行で処理する"},
};

// Every option of a batch run, in the order --help lists them. A new option gets its row here,
// with its text in both languages.
constexpr UsageLine kOptions[] = {
    {"-t, --text FILE", "write the text report to FILE (\"-\": standard output)",
     "テキスト レポートを FILE に書き出す (\"-\" で標準出力)"},
    {"-x, --workbook FILE",
     "write the workbook to FILE (.xlsx; \"-\": standard output when\nit is not a terminal)",
     "ワークブック (.xlsx) を FILE に書き出す (\"-\" で標準出力。\n標準出力が端末のときは不可)"},
    {"-j, --json FILE", "write the model as JSON to FILE (\"-\": standard output)",
     "読み込んだ内容を JSON で FILE に書き出す (\"-\" で標準出力)"},
    {"    --settings FILE",
     "read the options of FILE (a Dovrek.ini) first; without it a\nbatch run reads no "
     "settings file",
     "設定ファイル FILE (Dovrek.ini の形式) "
     "のオプションを読む\n(指定しなければ設定ファイルは読まない)"},
    {"    --cmt, --no-cmt", "skip comment lines holding two quotes in a row (or not)",
     "シングルクォーテーション(')が２つ以上続く行を\n読み飛ばす (読み飛ばさない)"},
    {"    --func, --no-func", "comments above a procedure describe it (or not)",
     "関数上部のコメントを、その下の関数の説明とする (しない)"},
    {"    --dir, --no-dir", "skip members outside the project folder (or not)",
     "vbp ファイルより上位のフォルダにあるファイルを、\n共通ファイルとして読み飛ばす "
     "(読み飛ばさない)"},
    {"    --trim, --no-trim", "keep the source column of comments (or not)",
     "コメント行の開始位置をソースコードと同じにする (しない)"},
    {"    --text-encoding ENC", "cp932 (default) or utf-8 for the text report",
     "テキスト レポートの文字コード: cp932 (既定) か utf-8"},
    {"    --complete, --no-complete", "every procedure kind and component (or not)",
     "すべての種類のプロシージャとコンポーネントを読む (読まない)"},
    {"    --source-encoding ENC", "cp932, utf-8, cp1252 or auto: how the sources are decoded",
     "ソースの文字コード: cp932、utf-8、cp1252、auto (自動判定)"},
    {"    --screens, --no-screens", "describe the screens in complete mode (default) or not",
     "完全モードで画面を出力する (既定) / しない"},
    {"    --screens-dir DIR", "also write each screen's picture to DIR as a PNG file",
     "各画面の画像を PNG ファイルとして DIR にも書き出す"},
    {"-q, --quiet", "no progress display and no closing summary",
     "進行状況の表示と終了時の要約を出さない"},
    {"    --skip-missing",
     "go on without missing member files, naming them all (the\nrun then counts as failed)",
     "見つからないメンバー ファイルを飛ばして続け、すべて名前を挙げる\n(実行は失敗として数える)"},
    {"    --output-dir DIR", "many projects: write each project's outputs below DIR",
     "複数プロジェクト: 各プロジェクトの出力を DIR の下に書き出す"},
    {"    --formats LIST",
     "the outputs of each project: workbook,text,json (default\nworkbook,text)",
     "各プロジェクトの出力: workbook,text,json (既定は workbook,text)"},
    {"    --inventory FILE",
     "many projects: one row per project in FILE (.xlsx, .csv or\n.json)",
     "複数プロジェクト: プロジェクトごとに 1 行の一覧を FILE に書き出す\n(.xlsx、.csv、.json)"},
    {"-h, --help", "this text", "この説明を表示する"},
    {"    --version", "the program's version", "バージョンを表示する"},
};

// The headings and the closing line, in each language.
struct UsageFrame {
  const char* usage;
  const char* options;
  const char* exit_status;
};

constexpr UsageFrame kEnglishFrame = {
    "Usage:", "Options:",
    "Exit status: 0 done, 1 the run (or a project of many) failed or left members out (the\n"
    "message is on standard error), 2 bad usage."};
constexpr UsageFrame kJapaneseFrame = {
    "使い方:", "オプション:",
    "終了ステータス: 0 完了、1 実行 (または複数のうちのプロジェクト) が失敗したか\n"
    "メンバーを飛ばした (メッセージは標準エラー出力)、2 使い方の誤り。"};

// "  <typed><blanks><description>", the description starting in column `column`; every line
// after the first of a description is indented to that column.
std::string Lines(std::span<const UsageLine> lines, size_t column, Language language) {
  std::string text;
  for (const UsageLine& line : lines) {
    std::string typed = std::string("  ") + line.typed;
    typed.resize(std::max(column, typed.size() + 1), ' ');
    std::string description = language == Language::kJapanese ? line.japanese : line.english;
    for (size_t at = description.find('\n'); at != std::string::npos;
         at = description.find('\n', at + 1)) {
      description.insert(at + 1, column, ' ');
    }
    text += typed + description + "\n";
  }
  return text;
}

}  // namespace

std::string UsageText(Language language) {
  const UsageFrame& frame = language == Language::kJapanese ? kJapaneseFrame : kEnglishFrame;
  return std::string(frame.usage) + "\n" + Lines(kStarts, 34, language) + "\n" + frame.options +
         "\n" + Lines(kOptions, 32, language) + "\n" + frame.exit_status + "\n";
}

}  // namespace dovrek
