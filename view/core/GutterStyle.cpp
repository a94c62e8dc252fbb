#include "view/core/GutterStyle.h"

#include <cstdio>

namespace gutter {

bool IsAcceptedStyle(unsigned style) {
    if (style & ~(kKindMask | kDecimal)) return false;
    unsigned kind = KindOf(style);
    return kind >= kLineNumber && kind <= kDoubleWord;
}

StyleRequest RequestFor(StyleCommand command, unsigned current) {
    unsigned kind = KindOf(current);
    unsigned decimal = current & kDecimal;
    auto toggle = [&](unsigned target) -> StyleRequest {
        if (kind == target) return {6, 0};
        return {1, decimal | target};
    };
    switch (command) {
    case StyleCommand::Byte: return toggle(kByte);
    case StyleCommand::Word: return toggle(kWord);
    case StyleCommand::DoubleWord: return toggle(kDoubleWord);
    case StyleCommand::LineNumber: return toggle(kLineNumber);
    case StyleCommand::Decimal: return {1, current | kDecimal};
    case StyleCommand::Hexadecimal: return {1, current & ~kDecimal};
    }
    return {1, current};
}

StyleChange ApplyRequest(unsigned current, StyleRequest request) {
    if (request.what == 0) return {current, false, false};
    if (request.what != 1) return {0, current != 0, false};
    if (!IsAcceptedStyle(request.style)) return {current, false, false};
    // Line numbers repaint every time: the base line may read differently.
    bool redraw = KindOf(request.style) == kLineNumber || request.style != current;
    return {request.style, redraw, true};
}

std::string StyleMessage(unsigned style) {
    switch (style) {
    case 0x01: return "行番号１６進表示に切り替えました。";
    case 0x02: return "バイト数１６進表示に切り替えました。";
    case 0x03: return "ワード数１６進表示に切り替えました。";
    case 0x04: return "ダブルワード数１６進表示に切り替えました。";
    case 0x81: return "行番号１０進表示に切り替えました。";
    case 0x82: return "バイト数１０進表示に切り替えました。";
    case 0x83: return "ワード数１０進表示に切り替えました。";
    case 0x84: return "ダブルワード数１０進表示に切り替えました。";
    default: return std::string();
    }
}

int DigitCount(unsigned style, std::uint32_t totalBytes) {
    int digits = 0;
    if (IsAcceptedStyle(style)) {
        std::uint32_t radix = IsDecimal(style) ? 10 : 16;
        for (std::uint32_t v = totalBytes; v; v /= radix) ++digits;
    }
    if (digits < 4) digits = 4;
    if (digits > 8) digits = 8;
    return digits;
}

int Width(unsigned style, int digitWidth, int digits) { return style == 0 ? 5 : digitWidth * digits + 10; }

std::uint32_t TotalBytes(const LineRecord* records, std::uint32_t lastRecord) {
    if (!records) return 0;
    return records[lastRecord].offset / 2;
}

std::string FileSizeText(std::uint32_t bytes) {
    char text[40];
    std::snprintf(text, sizeof text, "%8d [%8XH]", static_cast<int>(bytes), bytes);
    return text;
}

std::uint32_t EffectiveBaseLine(std::uint32_t baseLine, std::uint32_t recordCount) {
    return baseLine < recordCount ? baseLine : 0;
}

bool LineValue(unsigned style, std::uint32_t line, std::uint32_t baseLine, const LineRecord* records,
               std::uint32_t recordCount, std::uint32_t* value) {
    if (!IsAcceptedStyle(style) || line >= recordCount || !records) return false;
    std::uint32_t base = EffectiveBaseLine(baseLine, recordCount);
    unsigned kind = KindOf(style);
    if (kind == kLineNumber) {
        *value = (base ? (line > base ? line - base : base - line) : line) + 1;
        return true;
    }
    std::uint32_t offset = records[line].offset;
    if (base) {
        std::uint32_t origin = records[base].offset;
        offset = offset > origin ? offset - origin : origin - offset;
    }
    unsigned shift = kind == kByte ? 1 : kind == kWord ? 2 : 3;
    *value = offset >> shift;
    return true;
}

std::string FormatValue(unsigned style, int digits, std::uint32_t value) {
    bool decimal = IsDecimal(style);
    std::uint64_t modulus = 1;
    for (int i = 0; i < digits; ++i) modulus *= decimal ? 10 : 16;
    std::uint32_t shown = static_cast<std::uint32_t>(value % modulus);
    char format[16];
    std::snprintf(format, sizeof format, decimal ? "%%0%du" : "%%0%dX", digits);
    char text[24];
    std::snprintf(text, sizeof text, format, shown);
    return text;
}

}  // namespace gutter
