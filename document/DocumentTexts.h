// Texts of the document and the application, shown to the user exactly as
// written here (code page 932 at run time; this file is UTF-8).
#pragma once

namespace texts {

constexpr const char kOpenModeCaption[] = "オープンモード";
constexpr const char kAskTextMode[] = "テキストモードとしてオープンしますか？";
constexpr const char kAskDiscardAndReopen[] = "変更内容を破棄して開きなおしますか？";
constexpr const char kAskReload[] = "再読み込みを実行してもいいですか？\n編集していた内容は破棄されます。";
constexpr const char kConversionError[] = "変換エラーが発生したため、保存されません。";
constexpr const char kConversionErrorCaption[] = "変換エラー";
constexpr const char kConversionNoMemory[] = "作業用メモリを確保できないため、変換できませんでした。";
constexpr const char kRegistryReset[] = "レジストリ構成が変更されたため、\nすべてのレジストリ情報を削除しました。";
constexpr const char kWorkFolderFailed[] = "作業用フォルダを生成できません。";
constexpr const char kWorkFileFailed[] = "作業用ファイルを生成できません。";
constexpr const char kTemplatesOff[] = "\n\nテンプレートは使用できません。テキストモードとバイナリーモードで続けます。";
constexpr const char kHelpMissing[] = "Not Exist Html Help File\n\n   File Path [ %s ]";

constexpr const char kTemplateMismatch[] = "テンプレートの適用結果が元ファイルと一致しないため保存できません。";
constexpr const char kAskSaveAnyway[] = "テンプレートがフォーマット異常を検出しました。このまま保存しますか？";
constexpr const char kFormatProblemCaption[] = "フォーマット異常";

// A text-mode file whose bytes text mode cannot write back unchanged.
constexpr const char kLossyTextLoaded[] =
    "このファイルには、テキストモードでは元のとおりに保存できないバイトがあります (%s)。"
    "テキストとして保存すると、ファイルの内容が変わります。";
constexpr const char kLossNul[] = "NUL";
constexpr const char kLossLineEnd[] = "CR LF になっていない CR または LF";
constexpr const char kLossSequence[] = "シフト JIS として不正な並び";
constexpr const char kAskSaveLossyText[] =
    "このファイルには、テキストモードでは元のとおりに保存できないバイトがあります。"
    "テキストとして保存すると、ファイルの内容が変わります。保存しますか？";
constexpr const char kLossyTextCaption[] = "テキストモードでの保存";

constexpr const char kTextFilter[] = "テキストファイル (*.txt)|*.txt|";
constexpr const char kBinaryFilter[] = "バイナリーファイル (*.*)|*.*|";

}  // namespace texts
