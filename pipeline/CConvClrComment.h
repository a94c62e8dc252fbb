// Uncomments lines: removes a "<" that is a line's first character together
// with its matching ">"; nested brackets inside stay.
#pragma once

#include "pipeline/CStream.h"

class CConvClrComment : public CStream {
public:
    CConvClrComment() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

private:
    std::uint8_t content_ = 0;
    std::uint8_t inside_ = 0;
    int depth_ = 0;
};
