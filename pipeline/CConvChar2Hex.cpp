#include "pipeline/CConvChar2Hex.h"

#include <cstdint>
#include <cstring>

void CConvChar2Hex::Init() {
    nibblePending_ = 0;
    pendingByte_ = 0;
    RequestPadding(0x20, 16);
}

int CConvChar2Hex::Process() {
    // Cursors in locals: byte stores could alias the members otherwise.
    const std::uint8_t* in = inCursor;
    const std::uint8_t* const end = inEnd;
    std::uint8_t* out = outCursor;
    std::uint8_t* const limit = outLimit;
    while (in < end && out < limit) {
        if (!nibblePending_) {
            // Whole pairs of digits, the usual case behind the number stage.
            std::size_t pairs = static_cast<std::size_t>(end - in) / 2;
            std::size_t room = static_cast<std::size_t>(limit - out);
            const std::uint8_t* stop = in + 2 * (pairs < room ? pairs : room);
            while (in + 8 <= stop) {
                // Eight digit tokens make four bytes: keep the nibbles, join
                // each pair in its 16-bit lane, then close up the lanes.
                std::uint64_t w;
                std::memcpy(&w, in, 8);
                if ((w & 0xF0F0F0F0F0F0F0F0ull) != 0x3030303030303030ull) break;
                std::uint64_t v = w & 0x0F0F0F0F0F0F0F0Full;
                std::uint64_t lanes = ((v & 0x00FF00FF00FF00FFull) << 4) | ((v >> 8) & 0x00FF00FF00FF00FFull);
                lanes = (lanes | (lanes >> 8)) & 0x0000FFFF0000FFFFull;
                lanes = (lanes | (lanes >> 16)) & 0x00000000FFFFFFFFull;
                std::uint32_t four = static_cast<std::uint32_t>(lanes);
                std::memcpy(out, &four, 4);
                in += 8;
                out += 4;
            }
            while (in < stop && ((in[0] & in[1]) & 0xF0) == 0x30 && ((in[0] | in[1]) & 0xF0) == 0x30) {
                *out++ = static_cast<std::uint8_t>((in[0] << 4) | (in[1] & 0x0F));
                in += 2;
            }
            if (in >= end || out >= limit) break;
        }
        std::uint8_t t = *in++;
        if ((t & 0xF0) != 0x30) continue;
        std::uint8_t v = t & 0x0F;
        if (!nibblePending_) {
            pendingByte_ = static_cast<std::uint8_t>(v << 4);
            nibblePending_ = 1;
        } else {
            *out++ = pendingByte_ | v;
            nibblePending_ = 0;
        }
    }
    inCursor = in;
    outCursor = out;
    return 0;
}
