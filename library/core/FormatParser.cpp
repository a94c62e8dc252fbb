#include "library/core/FormatParser.h"

#include <limits>

#include "session/Crc32.h"

namespace velda {
namespace {

unsigned UnitSizeOf(char upper) {
    switch (upper) {
        case 'B': case 'C': return 1;
        case 'W': return 2;
        case 'D': return 4;
        case 'Q': return 8;
        default: return 0;
    }
}

char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

}  // namespace

bool FormatParser::Parse(const std::string& format, Dialect dialect, std::vector<FormatItem>* items) {
    items->clear();
    const std::size_t n = format.size();
    std::size_t i = 0;
    auto addLiteral = [&](std::size_t begin, std::size_t length) {
        if (!items->empty() && items->back().kind == FormatItem::Kind::Literal &&
            items->back().begin + items->back().length == begin) {
            items->back().length += length;
            return;
        }
        FormatItem item;
        item.kind = FormatItem::Kind::Literal;
        item.begin = begin;
        item.length = length;
        items->push_back(item);
    };
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(format[i]);
        if (c != '%') {
            std::size_t width = (session::IsLeadByte932(c) && i + 1 < n) ? 2 : 1;
            addLiteral(i, width);
            i += width;
            continue;
        }
        std::size_t j = i + 1;
        if (dialect == Dialect::Write && j < n && format[j] == '%') {
            FormatItem item;
            item.kind = FormatItem::Kind::PercentPair;
            items->push_back(item);
            i = j + 1;
            continue;
        }
        std::uint64_t count = 0;
        while (j < n && format[j] >= '0' && format[j] <= '9') {
            count = count * 10 + static_cast<unsigned>(format[j] - '0');
            if (count > kCountLimit) count = kCountLimit;
            ++j;
        }
        if (j >= n) return false;
        char letter = ToUpperAscii(format[j]);
        unsigned size = UnitSizeOf(letter);
        if (size == 0) return false;
        FormatItem item;
        item.kind = FormatItem::Kind::Conversion;
        item.letter = letter;
        item.unitSize = size;
        item.count = count == 0 ? 1 : count;
        items->push_back(item);
        i = j + 1;
    }
    return true;
}

std::uint64_t FormatParser::TotalBytes(const std::vector<FormatItem>& items) {
    std::uint64_t total = 0;
    for (const FormatItem& item : items) {
        if (item.kind == FormatItem::Kind::Conversion) total = SaturatingAdd(total, item.count * item.unitSize);
    }
    return total;
}

std::uint64_t FormatParser::TotalUnits(const std::vector<FormatItem>& items) {
    std::uint64_t total = 0;
    for (const FormatItem& item : items) {
        if (item.kind == FormatItem::Kind::Conversion) total = SaturatingAdd(total, item.count);
    }
    return total;
}

}  // namespace velda
