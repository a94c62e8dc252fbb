// Small text builders shared by the output paths: hexadecimal digits, the
// indent, and the line-end translation of the C runtime's text-mode streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velda {

inline void AppendHexByte(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

// Upper-case hexadecimal without leading zeros ("%llX").
inline void AppendHexNumber(std::string& out, std::uint64_t value) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[value & 0x0F];
        value >>= 4;
    } while (value != 0);
    while (n > 0) out += digits[--n];
}

// The most tabs written before a line. The editor keeps at most this many
// leading tabs per line in its line records; a larger count (any value is
// accepted) would only make every line gigabytes long.
constexpr std::int32_t kIndentLimit = 255;

// One tab per indent step, at most kIndentLimit; zero or less writes none.
inline void AppendIndent(std::string& out, std::int32_t indent) {
    if (indent > kIndentLimit) indent = kIndentLimit;
    if (indent > 0) out.append(static_cast<std::size_t>(indent), '\t');
}

// What a "%s" argument contributes: the text up to its first zero byte.
inline std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// The text as a text-mode stream of the C runtime on Windows writes it:
// every line feed becomes carriage return and line feed.
inline std::string ToTextMode(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace velda
