// The content of "TemplateList.txt" as the editor writes it: three header
// lines, then one entry per line, every line ending in CR LF.
#pragma once

#include <string>
#include <vector>

namespace template_list {

// A local date and time of writing.
struct ListTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The header lines with their CR LF: what the file is, when it was
// written, and an empty comment line.
std::string ListFileHeader(const ListTime& written);

// The whole file: the header, then each entry followed by CR LF.
std::string ListFileText(const ListTime& written, const std::vector<std::string>& entries);

}  // namespace template_list
