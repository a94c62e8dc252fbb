#include "templates/core/ListFileText.h"

#include <cstdio>

namespace template_list {

namespace {

// The header texts (code page 932 at run time).
constexpr char kTitleLine[] = "# 本ファイルは，テンプレートと拡張子の関連付けを定義します。";
constexpr char kDateLineFormat[] = "# ファイル作成日：%04d/%02d/%02d %02d:%02d:%02d";
constexpr char kLastHeaderLine[] = "#";
constexpr char kLineEnd[] = "\r\n";

}  // namespace

std::string ListFileHeader(const ListTime& written) {
    // Room for the text and six numbers of up to 11 characters each.
    char date[sizeof kDateLineFormat + 6 * 11];
    std::snprintf(date, sizeof date, kDateLineFormat, written.year, written.month, written.day, written.hour,
                  written.minute, written.second);
    return std::string(kTitleLine) + kLineEnd + date + kLineEnd + kLastHeaderLine + kLineEnd;
}

std::string ListFileText(const ListTime& written, const std::vector<std::string>& entries) {
    std::string text = ListFileHeader(written);
    for (const std::string& entry : entries) text += entry + kLineEnd;
    return text;
}

}  // namespace template_list
