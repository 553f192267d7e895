#pragma once
// What the operating system's failures mean to the user, and the other failures met opening
// files and folders.

#include <string>

namespace dovrek {

// What the system's failures mean, one text per errno value (the table is in system_error.cc).
// Where reading and writing meet the same failure, the text says which of them failed.
inline constexpr char kFileNotFound[] = "ファイルが見つかりません。";
inline constexpr char kPathNotFound[] = "パスが見つかりません。";
inline constexpr char kIsAFolder[] = "パス/ファイル アクセス エラーです。(フォルダです)";
inline constexpr char kAccessDenied[] = "書き込みできません。(アクセスが拒否されました)";
inline constexpr char kReadAccessDenied[] = "読み込みできません。(アクセスが拒否されました)";
inline constexpr char kNotPermitted[] = "書き込みできません。(操作が許可されていません)";
inline constexpr char kReadNotPermitted[] = "読み込みできません。(操作が許可されていません)";
inline constexpr char kReadOnlyFileSystem[] =
    "書き込みできません。(読み取り専用のファイル システムです)";
inline constexpr char kLinkLoop[] =
    "シンボリック リンクをたどれません。(リンクが多すぎるか、循環しています)";
inline constexpr char kBadHandle[] = "ファイル ハンドルが無効です。(閉じられた標準出力など)";
inline constexpr char kDiskFull[] = "ディスクの空き容量が不足しています。";
inline constexpr char kQuotaExceeded[] = "ディスク クォータを超えました。";
inline constexpr char kDeviceIoError[] = "デバイス I/O エラーです。";
inline constexpr char kFileTooLarge[] = "ファイルが大きすぎます。";
inline constexpr char kNoDevice[] = "デバイスが見つかりません。(読み手のいないパイプなど)";
inline constexpr char kNameTooLong[] = "ファイル名が長すぎます。";
inline constexpr char kPipeClosed[] = "書き込みできません。(パイプの読み手が終了しました)";
inline constexpr char kTooManyOpenFiles[] = "開いているファイルが多すぎます。";
inline constexpr char kBusy[] = "ファイルまたはデバイスが使用中です。";
inline constexpr char kRunningProgram[] = "書き込みできません。(実行中のプログラムのファイルです)";
inline constexpr char kAlreadyExists[] = "ファイルが既に存在します。";
inline constexpr char kOtherFileSystem[] = "別のファイル システムへは移動できません。";
inline constexpr char kInvalidArgument[] = "ファイル名または操作が正しくありません。";
inline constexpr char kFolderNotEmpty[] = "フォルダが空ではありません。";
inline constexpr char kTryAgain[] = "リソースが一時的に使用できません。";
inline constexpr char kNotSeekable[] = "位置を移動できないファイルです。(パイプなど)";
inline constexpr char kNotSupported[] = "この操作はファイル システムでサポートされていません。";
inline constexpr char kStaleHandle[] =
    "ファイル ハンドルが古くなっています。(ネットワーク上のファイル)";
inline constexpr char kTimedOut[] = "操作がタイムアウトしました。";
inline constexpr char kInterrupted[] = "操作が中断されました。";
// An errno value the table does not know: "システム エラーです。(番号 <error>)".
std::string UnknownSystemError(int error);

inline constexpr char kNotARegularFile[] = "通常のファイルではありません。";
inline constexpr char kFolderMissing[] = "フォルダが存在しません。";
inline constexpr char kForeignSharedLink[] =
    "共有フォルダーにある他のユーザーのシンボリック リンクはたどりません。";

}  // namespace dovrek
