#include "pipeline/CConvChar2Hex.h"

void CConvChar2Hex::Init() {
    nibblePending_ = 0;
    pendingByte_ = 0;
    RequestPadding(0x20, 16);
}

int CConvChar2Hex::Process() {
    while (inCursor < inEnd && outCursor < outLimit) {
        std::uint8_t t = *inCursor++;
        if ((t & 0xF0) != 0x30) continue;
        std::uint8_t v = t & 0x0F;
        if (!nibblePending_) {
            pendingByte_ = static_cast<std::uint8_t>(v << 4);
            nibblePending_ = 1;
        } else {
            *outCursor++ = pendingByte_ | v;
            nibblePending_ = 0;
        }
    }
    return 0;
}
