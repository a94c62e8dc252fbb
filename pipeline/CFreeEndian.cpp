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
    if (byteOrder) {
        for (int i = 0; i < pairs; ++i) {
            *outCursor++ = first[2 * i];
            *outCursor++ = first[2 * i + 1];
        }
    } else {
        for (int i = pairs - 1; i >= 0; --i) {
            *outCursor++ = first[2 * i];
            *outCursor++ = first[2 * i + 1];
        }
    }
    digitCount_ = 0;
}

int CFreeEndian::Process() {
    while (inCursor + 1 < inEnd && outCursor + 16 < outLimit) {
        std::uint8_t t = *inCursor;
        if (inString_) {
            *outCursor++ = t;
            ++inCursor;
            if (t == 3) inString_ = 0;
            continue;
        }
        switch (t) {
        case 1:
            if (digitCount_) {
                Flush();
            } else {
                inString_ = 1;
                *outCursor++ = t;
                ++inCursor;
            }
            break;
        case 0:
        case 4:
        case 5:
        case 6:
        case 7:
            ++inCursor;
            Flush();
            break;
        case 2:
        case 3:
        case 16:
            ++inCursor;
            break;
        default:
            ++inCursor;
            digitArea_[2 + digitCount_++] = t;
            if (digitCount_ == 16) Flush();
            break;
        }
    }
    return 0;
}
