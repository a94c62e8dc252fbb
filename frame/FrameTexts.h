// Texts of the frame, its bars and dialogs (code page 932 at run time).
#pragma once

namespace texts {

constexpr const char kInfoBarTitle[] = "情報";
constexpr const char kStandardBarTitle[] = "標準";
constexpr const char kEditBarTitle[] = "編集";
constexpr const char kOutputBarTitle[] = "アウトプット";
constexpr const char kModeText[] = "テキストモード";
constexpr const char kModeBinary[] = "バイナリモード";
constexpr const char kModeTemplate[] = "テンプレートモード";
constexpr const char kControlFontFace[] = "ＭＳＰ ゴシック";
constexpr const char kOutputFontFace[] = "ＭＳ ゴシック";
constexpr const char kSeparatorSpace[] = "スペース";
constexpr const char kSeparatorTab[] = "タブ";
constexpr const char kSeparatorComma[] = "カンマ";
constexpr const char kOutOfRange[] = "範囲外の値が設定されました。";
constexpr const char kErrorCaption[] = "エラー";
constexpr const char kBarStateSection[] = "DockingBarState";

// The template result and details of the output bar. The labels line up
// with full-width spaces.
constexpr const char kTemplateNameVersion[] = " %s Ver.%d.%02d";
constexpr const char kTemplateNameNegativeVersion[] = " %s Ver.-%d.%02d";
constexpr const char kTemplateNameOnly[] = " %s";
constexpr const char kDetailsHeading[] = "【テンプレート詳細情報】\r\n";
constexpr const char kDetailsPath[] = "ファイルパス名 : ";
constexpr const char kDetailsAuthor[] = "\r\n作成者　　　　 : ";
constexpr const char kDetailsComment[] = "\r\nコメント　　　 : ";
constexpr const char kDetailsUri[] = "\r\nURI 　　　　　 : ";
constexpr const char kDetailsUpdated[] = "\r\nファイル更新日 : ";
constexpr const char kDetailsTime[] = "%d年%d月%d日%d時%d分%d秒";

}  // namespace texts
