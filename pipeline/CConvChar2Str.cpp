#include "pipeline/CConvChar2Str.h"

namespace {

std::uint8_t DigitToken(unsigned nibble) { return static_cast<std::uint8_t>(0x30 | (nibble & 0x0F)); }

}  // namespace

void CConvChar2Str::Init() {
    inString_ = 0;
    RequestPadding(0, 16);
}

int CConvChar2Str::Process() {
    while (inCursor + 2 < inEnd && outCursor + 4 < outLimit) {
        std::uint8_t b = *inCursor;
        if (inString_) {
            if (b == 2) {
                std::uint8_t c = inCursor[1];
                inCursor += 2;
                *outCursor++ = DigitToken(c >> 4);
                *outCursor++ = DigitToken(c);
            } else if (b == 3) {
                ++inCursor;
                inString_ = 0;
                *outCursor++ = 5;
            } else {
                ++inCursor;
                *outCursor++ = DigitToken(b >> 4);
                *outCursor++ = DigitToken(b);
            }
            continue;
        }
        ++inCursor;
        switch (b) {
        case 1:
            inString_ = 1;
            *outCursor++ = 5;
            break;
        case 4:
        case 5:
        case 6:
        case 7:
        case 16:
            *outCursor++ = b;
            break;
        default:
            // Digits pass through; tokens 0, 2, 3 and any stray value left
            // behind by a control character inside a string are dropped.
            if ((b & 0xF0) == 0x30) *outCursor++ = b;
            break;
        }
    }
    return 0;
}
