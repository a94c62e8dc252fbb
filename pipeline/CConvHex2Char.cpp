#include "pipeline/CConvHex2Char.h"

#include <cstring>

namespace {

// Two upper-case hexadecimal characters for every byte value.
struct HexPairs {
    char pair[256][2];
    HexPairs() {
        const char digits[] = "0123456789ABCDEF";
        for (int b = 0; b < 256; ++b) {
            pair[b][0] = digits[b >> 4];
            pair[b][1] = digits[b & 0x0F];
        }
    }
};
const HexPairs kHex;

}  // namespace

void CConvHex2Char::Init() {
    lineBytes_ = 0;
    holdsOutput = false;
}

int CConvHex2Char::Process() {
    // Cursors and bounds in locals: byte stores could alias the members.
    const std::uint32_t g = static_cast<std::uint32_t>(groupSize);
    const std::uint32_t perLine = bytesPerLine;
    const char separator = separatorCode == 1 ? '\t' : separatorCode == 2 ? ',' : ' ';
    const bool separatorAtLineEnd = separatorCode == 2;
    const bool ended = InputEnded();
    const std::uint8_t* in = inCursor;
    const std::uint8_t* const end = inEnd;
    std::uint8_t* out = outCursor;
    std::uint8_t* const limit = outLimit;
    std::uint32_t lineBytes = lineBytes_;

    // What follows a group: the separator when more data follows, and the
    // line end when the line is full (at most three bytes). When the window
    // ends here before the producer has finished, whether more data follows
    // is not known yet, so the decision waits for the next call.
    auto writeBreak = [&]() -> bool {
        bool more = in < end;
        if (!more && !ended) return false;
        bool lineFull = lineBytes >= perLine;
        if (more && (separatorAtLineEnd || !lineFull)) *out++ = static_cast<std::uint8_t>(separator);
        if (lineFull) {
            out[0] = '\r';
            out[1] = '\n';
            out += 2;
            lineBytes = 0;
        }
        return true;
    };

    bool pending = holdsOutput;
    if (pending) {
        if (out + 3 < limit && writeBreak()) pending = false;
    }
    while (!pending && in + g <= end) {
        if (out + 2 * g + 2 >= limit) break;
        if (g == 1) {
            std::memcpy(out, kHex.pair[in[0]], 2);
            out += 2;
        } else if (byteOrder) {
            for (std::uint32_t i = 0; i < g; ++i, out += 2) std::memcpy(out, kHex.pair[in[i]], 2);
        } else {
            for (std::uint32_t i = g; i > 0; --i, out += 2) std::memcpy(out, kHex.pair[in[i - 1]], 2);
        }
        lineBytes += g;
        in += g;
        // 2g + 2 < limit left room for the three bytes of a break.
        if (!writeBreak()) pending = true;
    }
    std::uint32_t k = static_cast<std::uint32_t>(end - in);
    if (!pending && ended && k > 0 && k < g && out + 2 * k < limit) {
        // The file's last bytes, fewer than a group: one short group.
        if (byteOrder) {
            for (std::uint32_t i = 0; i < k; ++i, out += 2) std::memcpy(out, kHex.pair[in[i]], 2);
        } else {
            for (std::uint32_t i = k; i > 0; --i, out += 2) std::memcpy(out, kHex.pair[in[i - 1]], 2);
        }
        in = end;
    }
    holdsOutput = pending;
    lineBytes_ = lineBytes;
    inCursor = in;
    outCursor = out;
    return 0;
}
