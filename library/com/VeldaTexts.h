// Texts that Velda.dll itself shows to the user (code page 932 at run time).
#pragma once

namespace velda_texts {

// Message box when a template is started without the editor's session.
constexpr char kStartFromEditor[] = "プラメルから起動してください。";
constexpr char kStartupErrorCaption[] = "起動エラー";

}  // namespace velda_texts
