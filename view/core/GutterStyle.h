// The offset gutter's styles and the numbers it prints: the style a
// command switches to, the digit count taken from the text's byte count,
// the number beside a line (line number or offset, relative to a base
// line) and its text, and the status-bar messages of the styles.
#pragma once

#include <cstdint>
#include <string>

#include "pipeline/CCalcBytePerLine.h"

namespace gutter {

// Low seven bits: the kind; bit 0x80: decimal.
constexpr unsigned kKindMask = 0x7F;
constexpr unsigned kDecimal = 0x80;
enum Kind : unsigned { kOff = 0, kLineNumber = 1, kByte = 2, kWord = 3, kDoubleWord = 4 };

inline unsigned KindOf(unsigned style) { return style & kKindMask; }
inline bool IsDecimal(unsigned style) { return (style & kDecimal) != 0; }
// The styles the gutter takes: kinds 1..4, hexadecimal or decimal.
bool IsAcceptedStyle(unsigned style);

// The gutter message a style command sends: what = 1 sets `style`, what = 6
// turns the gutter off.
struct StyleRequest {
    int what;
    unsigned style;
};
enum class StyleCommand { Byte, Word, DoubleWord, LineNumber, Decimal, Hexadecimal };
StyleRequest RequestFor(StyleCommand command, unsigned current);
// The style after the gutter handled the request, and whether it must
// repaint all of itself.
struct StyleChange {
    unsigned style;
    bool redraw;
    bool announce;  // a status-bar message goes with it
};
StyleChange ApplyRequest(unsigned current, StyleRequest request);
// The status-bar message for a style the gutter took (empty for others).
std::string StyleMessage(unsigned style);

// Digits printed: the byte count's hexadecimal digits for a hexadecimal
// style, its decimal digits for a decimal one, within 4..8.
int DigitCount(unsigned style, std::uint32_t totalBytes);
// Pixel width of the gutter.
int Width(unsigned style, int digitWidth, int digits);

// The byte count the text stands for, from records whose last closed entry
// (index lastRecord) holds the nibble count at the end of the text.
std::uint32_t TotalBytes(const LineRecord* records, std::uint32_t lastRecord);
// "%8d [%8XH]" of the byte count.
std::string FileSizeText(std::uint32_t bytes);

// A base line counts only while it names a record other than the first:
// after the text shrank below it, the gutter has no base line.
std::uint32_t EffectiveBaseLine(std::uint32_t baseLine, std::uint32_t recordCount);

// The number printed beside line `line`; false when the style prints
// nothing or the line has no record.
bool LineValue(unsigned style, std::uint32_t line, std::uint32_t baseLine, const LineRecord* records,
               std::uint32_t recordCount, std::uint32_t* value);
// The value as printed: modulo 16 or 10 to the digit count, zero-padded.
std::string FormatValue(unsigned style, int digits, std::uint32_t value);

}  // namespace gutter
