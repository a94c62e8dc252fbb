// In-memory ports for the template runtime's core, and a reference reader of
// the editor's text grammar used to check that output packs back to the
// emitted bytes.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "library/core/Ports.h"

namespace velda::test {

using Bytes = std::vector<std::uint8_t>;

// A file in memory. readLimit caps what one read call returns (0: no cap);
// readable cuts the data that can really be read below the reported size;
// failSeeks refuses every move.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(Bytes data) : readable(data.size()), data_(std::move(data)) {}
    std::uint64_t Size() override { return data_.size(); }
    bool SeekTo(std::uint64_t offset) override {
        seeks.push_back(offset);
        if (failSeeks) return false;
        position_ = offset;
        return true;
    }
    std::size_t Read(void* buffer, std::size_t size) override {
        reads.push_back(size);
        std::size_t end = std::min<std::size_t>(readable, data_.size());
        std::size_t n = position_ < end ? std::min(size, static_cast<std::size_t>(end - position_)) : 0;
        if (readLimit != 0) n = std::min(n, readLimit);
        if (n != 0) std::memcpy(buffer, data_.data() + position_, n);
        position_ += n;
        return n;
    }
    std::size_t readLimit = 0;
    std::size_t readable;
    bool failSeeks = false;
    std::vector<std::uint64_t> seeks;
    std::vector<std::size_t> reads;

private:
    Bytes data_;
    std::uint64_t position_ = 0;
};

class StringSink : public TextSink {
public:
    void Write(const char* data, std::size_t size) override {
        writes.emplace_back(data, size);
        text.append(data, size);
    }
    std::string text;
    std::vector<std::string> writes;
};

// The bytes the editor's save chain makes of a text: hexadecimal digit runs
// are numbers cut at separators (16 digits at most, whole bytes, the last
// byte first when little-endian), quoted characters are their bytes,
// comments and headings carry nothing.
inline Bytes PackText(const std::string& text, bool bigEndian) {
    Bytes out;
    std::string digits;
    auto flush = [&] {
        if (digits.empty()) return;
        if (digits.size() % 2) digits.insert(digits.begin(), '0');
        auto value = [](char d) { return d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10; };
        Bytes number;
        for (std::size_t i = 0; i < digits.size(); i += 2)
            number.push_back(static_cast<std::uint8_t>(value(digits[i]) * 16 + value(digits[i + 1])));
        if (!bigEndian) std::reverse(number.begin(), number.end());
        out.insert(out.end(), number.begin(), number.end());
        digits.clear();
    };
    auto lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
    enum { Normal, String, Comment } mode = Normal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0 || c == '\r' || c == '\n') {
            mode = Normal;
            flush();
        } else if (mode == Comment) {
            if (lead(c)) ++i;
            else if (c == ']' || c == '>') mode = Normal;
        } else if (mode == String) {
            if (c == '"') { mode = Normal; continue; }
            out.push_back(c);
            if (lead(c) && i + 1 < text.size()) out.push_back(static_cast<std::uint8_t>(text[++i]));
        } else if (std::isxdigit(c)) {
            digits += static_cast<char>(c);
            if (digits.size() == 16) flush();
        } else if (c == '[' || c == '<' || c == ';') {
            mode = Comment;  // a ';' comment runs to the line end
            if (c == ';') while (i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r') ++i;
        } else {
            flush();
            if (c == '"') mode = String;
            else if (lead(c)) ++i;
        }
    }
    flush();
    return out;
}

}  // namespace velda::test
