#include "pipeline/CConvSetComment.h"

#include "session/Crc32.h"

void CConvSetComment::Init() {
    lineOpen_ = 0;
    RequestPadding(0, 16);
}

int CConvSetComment::Process() {
    while (inCursor < inEnd && outCursor + 5 < outLimit) {
        std::uint8_t c = *inCursor;
        if (c == 0) {
            ++inCursor;
            if (lineOpen_) *outCursor++ = '>';
            lineOpen_ = 0;
            return 0;
        }
        if (c == '\r' || c == '\n') {
            if (lineOpen_) *outCursor++ = '>';
            *outCursor++ = c;
            ++inCursor;
            lineOpen_ = 0;
            continue;
        }
        bool lead = session::IsLeadByte932(c);
        if (lead && inCursor + 1 >= inEnd && !InputEnded()) return 0;  // the trail byte comes with more input
        bool pair = lead && inCursor + 1 < inEnd && inCursor[1] != 0 && inCursor[1] != '\r' && inCursor[1] != '\n';
        if (!lineOpen_) {
            *outCursor++ = '<';
            lineOpen_ = 1;
        }
        *outCursor++ = c;
        ++inCursor;
        if (pair) *outCursor++ = *inCursor++;
    }
    return 0;
}
