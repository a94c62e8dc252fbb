// Comments lines out: every line that holds a character is enclosed in
// "<" and ">" before its line end.
#pragma once

#include "pipeline/CStream.h"

class CConvSetComment : public CStream {
public:
    CConvSetComment() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

private:
    std::uint8_t lineOpen_ = 0;
};
