// Turns the characters of quoted strings into pairs of digit tokens and
// marks each string's ends as separators.
#pragma once

#include "pipeline/CStream.h"

class CConvChar2Str : public CStream {
public:
    CConvChar2Str() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

private:
    std::uint8_t inString_ = 0;
};
