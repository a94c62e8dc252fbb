// Packs pairs of digit tokens into bytes; every other token is dropped.
#pragma once

#include "pipeline/CStream.h"

class CConvChar2Hex : public CStream {
public:
    CConvChar2Hex() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

private:
    std::uint8_t nibblePending_ = 0;
    std::uint8_t pendingByte_ = 0;
};
