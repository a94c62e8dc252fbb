#include "view/core/LineText.h"

#include <cstdio>
#include <vector>

namespace linetext {

bool IsLeadByte932(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

namespace {

// One entry per character: its first byte, or 0 for a double-byte one
// (never a digit).
std::vector<char> Characters(const std::string& text) {
    std::vector<char> chars;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<std::uint8_t>(text[i]);
        if (IsLeadByte932(b) && i + 1 < text.size()) {
            chars.push_back('\0');
            ++i;
        } else {
            chars.push_back(text[i]);
        }
    }
    return chars;
}

}  // namespace

std::string CaretRun(const std::string& window, long caretChar) {
    std::vector<char> chars = Characters(window);
    long size = static_cast<long>(chars.size());
    if (caretChar < 0) caretChar = 0;
    if (caretChar > size) caretChar = size;
    long begin = caretChar;
    while (begin > 0 && IsHexDigit(chars[begin - 1])) --begin;
    long end = caretChar;
    while (end < size && IsHexDigit(chars[end])) ++end;
    return std::string(chars.begin() + begin, chars.begin() + end);
}

std::string SelectionRun(const std::string& selected) {
    if (selected.empty() || selected.size() > 8) return std::string();
    for (char c : selected) {
        if (!IsHexDigit(c)) return std::string();
    }
    return selected;
}

std::string CaretValueText(const std::string& run) {
    if (run.empty() || run.size() > 8) return std::string();
    std::uint32_t v = 0;
    for (char c : run) {
        if (!IsHexDigit(c)) return std::string();
        int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        v = (v << 4) | static_cast<std::uint32_t>(digit);
    }
    // The signed reading follows the top bit of the highest non-zero byte.
    std::uint32_t top = v >= 0x1000000u ? 0x80000000u : v >= 0x10000u ? 0x800000u : v >= 0x100u ? 0x8000u : 0x80u;
    bool signedReading = (v & top) != 0;
    long long s = static_cast<long long>(v) - 2 * static_cast<long long>(top);
    char text[48];
    if (signedReading) std::snprintf(text, sizeof text, "%lu (%lld)", static_cast<unsigned long>(v), s);
    else std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(v));
    return text;
}

std::string HeadingFieldText(const std::string& line) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    // The end of the text's last non-blank character, stepping over
    // double-byte characters from the front so that a trail byte that looks
    // like a blank is never cut.
    std::size_t begin = std::string::npos;
    std::size_t end = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t width = IsLeadByte932(static_cast<std::uint8_t>(line[i])) && i + 1 < line.size() ? 2 : 1;
        if (width == 2 || !blank(line[i])) {
            if (begin == std::string::npos) begin = i;
            end = i + width;
        }
        i += width;
    }
    if (begin == std::string::npos) return " ";
    return " " + line.substr(begin, end - begin);
}

long HeadingAtOrAbove(const LineRecord* records, std::uint32_t count, long from) {
    if (!records || count == 0) return -1;
    if (from > static_cast<long>(count) - 1) from = static_cast<long>(count) - 1;
    for (long n = from; n >= 0; --n) {
        if (records[n].heading) return n;
    }
    return -1;
}

long HeadingAtOrBelow(const LineRecord* records, std::uint32_t count, long from) {
    if (!records) return -1;
    if (from < 0) from = 0;
    for (long n = from; n < static_cast<long>(count); ++n) {
        if (records[n].heading) return n;
    }
    return -1;
}

long HeadingAbove(const LineRecord* records, std::uint32_t count, long caretLine) {
    long from = (caretLine < static_cast<long>(count) ? caretLine : static_cast<long>(count)) - 1;
    return from < 0 ? -1 : HeadingAtOrAbove(records, count, from);
}

long HeadingBelow(const LineRecord* records, std::uint32_t count, long caretLine) {
    long from = caretLine >= static_cast<long>(count) ? 1 : caretLine + 1;
    return HeadingAtOrBelow(records, count, from);
}

}  // namespace linetext
