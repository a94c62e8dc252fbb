#include "pipeline/CConvHex2Char.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

std::uint8_t* PutHex(std::uint8_t* out, std::uint8_t b) {
    out[0] = static_cast<std::uint8_t>(kHexDigits[b >> 4]);
    out[1] = static_cast<std::uint8_t>(kHexDigits[b & 0x0F]);
    return out + 2;
}

}  // namespace

void CConvHex2Char::Init() {
    lineBytes_ = 0;
    breakPending_ = false;
}

// Writes what follows a group: the separator when more data follows, and
// the line end when the line is full. Needs at most three bytes of room.
// Returns false when it cannot yet tell whether more data follows.
bool CConvHex2Char::WriteBreak() {
    bool more = inCursor < inEnd;
    if (!more && !InputEnded()) {
        breakPending_ = true;
        return false;
    }
    breakPending_ = false;
    bool lineFull = lineBytes_ >= bytesPerLine;
    if (more) {
        if (separatorCode == 2) {
            *outCursor++ = ',';
        } else if (!lineFull) {
            *outCursor++ = separatorCode == 1 ? '\t' : ' ';
        }
    }
    if (lineFull) {
        *outCursor++ = '\r';
        *outCursor++ = '\n';
        lineBytes_ = 0;
    }
    return true;
}

int CConvHex2Char::Process() {
    const std::uint32_t g = static_cast<std::uint32_t>(groupSize);
    if (breakPending_) {
        if (outCursor + 3 >= outLimit || !WriteBreak()) return 0;
    }
    while (inCursor + g <= inEnd) {
        if (outCursor + 2 * g + 2 >= outLimit) return 0;
        if (byteOrder) {
            for (std::uint32_t i = 0; i < g; ++i) outCursor = PutHex(outCursor, inCursor[i]);
        } else {
            for (std::uint32_t i = g; i > 0; --i) outCursor = PutHex(outCursor, inCursor[i - 1]);
        }
        lineBytes_ += g;
        inCursor += g;
        // The group leaves room for its break: 2g + 2 < limit was checked
        // and a break takes at most three bytes after 2g digits.
        if (!WriteBreak()) return 0;
    }
    std::uint32_t k = static_cast<std::uint32_t>(inEnd - inCursor);
    if (InputEnded() && k > 0 && k < g && outCursor + 2 * k < outLimit) {
        if (byteOrder) {
            for (std::uint32_t i = 0; i < k; ++i) outCursor = PutHex(outCursor, inCursor[i]);
        } else {
            for (std::uint32_t i = k; i > 0; --i) outCursor = PutHex(outCursor, inCursor[i - 1]);
        }
        inCursor = inEnd;
    }
    return 0;
}
