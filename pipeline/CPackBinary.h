// The lexer: reads the edited text and emits the one-byte token stream that
// the packing stages turn into bytes. It defines the text's grammar: digits,
// separators, quoted strings, "<...>" and ";" comments, "[...]" headings.
#pragma once

#include "pipeline/CStream.h"

class CPackBinary : public CStream {
public:
    CPackBinary() : CStream(kProcessingStage) {}
    void Init() override;
    int Process() override;

private:
    int mode_ = 0;   // 0 normal, 1 in a string, 2 in a comment
    int depth_ = 0;  // 1 bracket comment, -1 comment to the line end
};
