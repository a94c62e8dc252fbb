#include "pipeline/CConvChar2Str.h"

#include <cstdint>
#include <cstring>

namespace {

std::uint8_t DigitToken(unsigned nibble) { return static_cast<std::uint8_t>(0x30 | (nibble & 0x0F)); }

}  // namespace

void CConvChar2Str::Init() {
    inString_ = 0;
    RequestPadding(0, 16);
}

int CConvChar2Str::Process() {
    // Cursors in locals: byte stores could alias the members otherwise.
    const std::uint8_t* in = inCursor;
    const std::uint8_t* const end = inEnd;
    std::uint8_t* out = outCursor;
    std::uint8_t* const limit = outLimit;
    bool inString = inString_ != 0;
    while (in + 2 < end && out + 4 < limit) {
        if (!inString) {
            // Digits outside strings pass straight through.
            std::size_t left = static_cast<std::size_t>(end - in) - 2;
            std::size_t room = static_cast<std::size_t>(limit - out) - 4;
            const std::uint8_t* stop = in + (left < room ? left : room);
            while (in + 8 <= stop) {
                std::uint64_t w;
                std::memcpy(&w, in, 8);
                if ((w & 0xF0F0F0F0F0F0F0F0ull) != 0x3030303030303030ull) break;
                std::memcpy(out, &w, 8);
                in += 8;
                out += 8;
            }
            while (in < stop && (*in & 0xF0) == 0x30) *out++ = *in++;
            if (in == stop) continue;
        }
        std::uint8_t b = *in;
        if (!inString) {
            ++in;
            switch (b) {
            case 1:
                inString = true;
                *out++ = 5;
                break;
            case 4:
            case 5:
            case 6:
            case 7:
            case 16:
                *out++ = b;
                break;
            default:
                // Tokens 0, 2, 3 and any stray value left behind by a control
                // character inside a string are dropped.
                break;
            }
            continue;
        }
        if (b == 2) {
            std::uint8_t c = in[1];
            in += 2;
            *out++ = DigitToken(c >> 4);
            *out++ = DigitToken(c);
        } else if (b == 3) {
            ++in;
            inString = false;
            *out++ = 5;
        } else {
            ++in;
            *out++ = DigitToken(b >> 4);
            *out++ = DigitToken(b);
        }
    }
    inString_ = inString ? 1 : 0;
    inCursor = in;
    outCursor = out;
    return 0;
}
