#include "pipeline/CFreeEndian.h"

#include <cstring>

CFreeEndian::CFreeEndian() : CStream(kProcessingStage) {
    digitArea_[0] = 0x30;
    digitArea_[1] = 0x30;
    std::memset(digitArea_ + 2, 0, 16);
}

void CFreeEndian::Init() {
    inString_ = 0;
    digitCount_ = 0;
    RequestPadding(0, 16);
}

// Emits the pending digits as (count + 1) / 2 pairs; an odd count starts one
// position early so the zero before the buffer completes the first pair.
void CFreeEndian::Flush() {
    int c = digitCount_;
    if (c == 0) return;
    int pairs = (c + 1) / 2;
    const std::uint8_t* first = digitArea_ + 2 - (c & 1);
    std::uint8_t* out = outCursor;
    if (byteOrder) {
        for (int i = 0; i < pairs; ++i) {
            *out++ = first[2 * i];
            *out++ = first[2 * i + 1];
        }
    } else {
        for (int i = pairs - 1; i >= 0; --i) {
            *out++ = first[2 * i];
            *out++ = first[2 * i + 1];
        }
    }
    outCursor = out;
    digitCount_ = 0;
}

namespace {

bool IsDigit(std::uint8_t t) { return (t & 0xF0) == 0x30; }
// Tokens that end a number and produce nothing themselves.
bool IsCut(std::uint8_t t) { return t == 0 || (t >= 4 && t <= 7); }

}  // namespace

int CFreeEndian::Process() {
    const std::uint8_t* in = inCursor;
    const std::uint8_t* const end = inEnd;
    std::uint8_t* out = outCursor;
    std::uint8_t* const limit = outLimit;
    while (in + 1 < end && out + 16 < limit) {
        std::uint8_t t = *in;
        if (inString_) {
            *out++ = t;
            ++in;
            if (t == 3) {
                inString_ = 0;
            } else if (t == 2) {
                *out++ = *in++;  // an escaped byte is string content, even a 3
            }
            continue;
        }
        // The common shape of a dump: two digits and a separator, one byte.
        if (digitCount_ == 0) {
            std::size_t groups = static_cast<std::size_t>(end - in - 1) / 3;
            std::size_t room = static_cast<std::size_t>(limit - out - 16) / 2;
            const std::uint8_t* stop = in + 3 * (groups < room ? groups : room);
            while (in < stop && IsDigit(in[0]) && IsDigit(in[1]) && IsCut(in[2])) {
                out[0] = in[0];
                out[1] = in[1];
                out += 2;
                in += 3;
            }
            if (in + 1 >= end || out + 16 >= limit) break;
            t = *in;
        }
        if (IsDigit(t)) {
            ++in;
            digitArea_[2 + digitCount_++] = t;
            if (digitCount_ == 16) {
                outCursor = out;
                Flush();
                out = outCursor;
            }
            continue;
        }
        if (t == 1 && digitCount_) {
            // Flush the number first, then take the quote again.
            outCursor = out;
            Flush();
            out = outCursor;
            continue;
        }
        ++in;
        if (t == 1) {
            inString_ = 1;
            *out++ = t;
        } else if (IsCut(t)) {
            outCursor = out;
            Flush();
            out = outCursor;
        }
        // Tokens 2, 3 and 16 outside a string vanish.
    }
    inCursor = in;
    outCursor = out;
    return 0;
}
