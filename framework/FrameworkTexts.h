// Texts the framework shows to the user, in one place (code page 932 at run
// time; this file is UTF-8).
#pragma once

namespace texts {

constexpr const char kAskToSave[] = "%s への変更を保存しますか?";
constexpr const char kRecentFilesEmpty[] = "最近使ったファイル";

constexpr const char kOpenNotFound[] = "%s が見つかりません。";
constexpr const char kOpenBadPath[] = "%s のパスが正しくありません。";
constexpr const char kOpenDenied[] = "%s を開くことが許可されていません。";
constexpr const char kOpenInUse[] = "%s は他のプログラムが使用中のため開けません。";
constexpr const char kOpenFailed[] = "%s の読み込み中にエラーが発生しました。\n%s";

constexpr const char kSaveReadOnly[] = "%s は読み取り専用のため保存できません。\n別の名前で保存してください。";
constexpr const char kSaveInUse[] = "%s は他のプログラムが使用中のため保存できません。\n元のファイルは変更されていません。";
constexpr const char kSaveDenied[] = "%s への書き込みが許可されていないため保存できません。";
constexpr const char kSaveDiskFull[] = "ディスクの空き領域が不足しているため %s を保存できませんでした。\n元のファイルは変更されていません。";
constexpr const char kSaveBadPath[] = "%s のパスが正しくないため保存できません。";
constexpr const char kSaveFailed[] = "%s の保存中にエラーが発生しました。\n元のファイルは変更されていません。\n%s";

constexpr const char kOutOfMemory[] = "メモリが不足しています。";

constexpr const char kAllFilesFilter[] = "すべてのファイル (*.*)|*.*||";
constexpr const char kSaveAsTitle[] = "名前を付けて保存";

constexpr const char kPrintFailed[] = "印刷できませんでした。";

}  // namespace texts
