#include "pipeline/CConvClrComment.h"

#include "session/Crc32.h"

void CConvClrComment::Init() {
    content_ = 0;
    inside_ = 0;
    depth_ = 0;
    RequestPadding(0, 16);
}

int CConvClrComment::Process() {
    while (inCursor + 2 < inEnd && outCursor + 2 < outLimit) {
        std::uint8_t c = *inCursor;
        if (c == 0) {
            ++inCursor;
            return 0;
        }
        if (c == '\r' || c == '\n') {
            *outCursor++ = c;
            ++inCursor;
            content_ = 0;
            inside_ = 0;
            continue;
        }
        if (!content_) {
            if (c == '<') {
                ++inCursor;
                if (!inside_) {
                    depth_ = 1;
                } else {
                    *outCursor++ = c;
                    ++depth_;
                }
                inside_ = 1;
                continue;
            }
            if (c == '>' && inside_) {
                ++inCursor;
                if (depth_-- == 1) {
                    inside_ = 0;
                    content_ = 1;
                } else {
                    *outCursor++ = c;
                }
                continue;
            }
        }
        *outCursor++ = c;
        ++inCursor;
        std::uint8_t next = *inCursor;
        if (session::IsLeadByte932(c) && next != 0 && next != '\r' && next != '\n') *outCursor++ = *inCursor++;
        if (!inside_) content_ = 1;
    }
    return 0;
}
