// Computes the CRC-32 of the bytes passing through; writes nothing and must
// be followed by a discard sink.
#pragma once

#include <cstdint>

#include "pipeline/CStream.h"

class CConvCrc32 : public CStream {
public:
    CConvCrc32() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

    std::uint32_t crc() const { return crc_; }

private:
    std::uint32_t crc_ = 0;
};
