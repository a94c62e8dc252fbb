// Texts of the library check, registration and settings, and of template
// selection, shown to the user exactly as written here (code page 932 at
// run time; this file is UTF-8).
#pragma once

namespace texts {

constexpr const char kSetupCaption[] = "セットアップ";
constexpr const char kAskRegisterMissing[] = "ライブラリがセットアップされていません。登録しますか？";
constexpr const char kAskRegisterVersion[] = "ライブラリのバージョンが一致しません。登録しますか？";
constexpr const char kVersionMismatch[] = "ライブラリのバージョンが一致しません。";
constexpr const char kBrowseLibraryTitle[] = "ライブラリのフォルダーの指定";
constexpr const char kLibraryFolderName[] = "ライブラリ";
constexpr const char kAboutTitle[] = "%s のバージョン情報#%s　バージョン %s (%s)";
constexpr const char kTemplateFileFilter[] = "テンプレート (*.ps1 *.js *.vbs)|*.ps1;*.js;*.vbs||";

}  // namespace texts
