// Turns file bytes into the editor's hexadecimal text: groups of 1, 2 or 4
// bytes, a separator between groups, a set number of bytes per line.
#pragma once

#include <cstdint>

#include "pipeline/CStream.h"

class CConvHex2Char : public CStream {
public:
    CConvHex2Char() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

    std::uint32_t byteOrder = 1;      // nonzero: file order (big-endian)
    int groupSize = 1;                // 1, 2 or 4
    std::uint32_t bytesPerLine = 16;  // 4 to 64
    std::uint32_t separatorCode = 2;  // 0 space, 1 tab, 2 comma

private:

    std::uint32_t lineBytes_ = 0;
    // holdsOutput is set when a group was written at the very end of a
    // window whose producer had not finished: whether a separator follows is
    // known only with more input.
};
