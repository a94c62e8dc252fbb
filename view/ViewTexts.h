// Texts the view and its panes show (code page 932 at run time).
#pragma once

namespace texts {

constexpr const char kBaseLineSet[] = "基点行を設定しました。";
constexpr const char kBaseLineCleared[] = "基点行を解除しました。";

}  // namespace texts
