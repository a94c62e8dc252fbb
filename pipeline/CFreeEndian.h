// Cuts digit tokens into numbers at every separator and emits each number's
// digit pairs in the document's byte order; strings pass through unchanged.
#pragma once

#include <cstdint>

#include "pipeline/CStream.h"

class CFreeEndian : public CStream {
public:
    CFreeEndian();
    void Init() override;
    int Process() override;

    std::uint32_t byteOrder = 0;  // nonzero: big-endian

private:
    void Flush();

    int digitCount_ = 0;
    // Two zero-digit tokens directly before the digit buffer: an odd-length
    // number borrows the second one as its leading zero.
    std::uint8_t digitArea_[2 + 16];
    std::uint8_t inString_ = 0;
};
