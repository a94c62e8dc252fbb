#include "pipeline/CPackBinary.h"

#include "session/Crc32.h"

namespace {

enum Mode { kNormal = 0, kString = 1, kComment = 2 };

bool IsLineEnd(std::uint8_t c) { return c == 0 || c == '\r' || c == '\n'; }

// A lead byte counts as the start of a double-byte character only when a
// trail byte follows on the same line: a stray lead byte never swallows the
// line end behind it.
bool StartsPair(const std::uint8_t* p) { return session::IsLeadByte932(p[0]) && !IsLineEnd(p[1]); }

}  // namespace

void CPackBinary::Init() {
    mode_ = kNormal;
    depth_ = 0;
    RequestPadding(0, 16);
}

int CPackBinary::Process() {
    const std::uint8_t* in = inCursor;
    std::uint8_t* out = outCursor;
    while (in + 2 < inEnd && out + 2 < outLimit) {
        std::uint8_t c = *in;
        if (IsLineEnd(c)) {
            if (mode_ == kString) *out++ = 3;
            mode_ = kNormal;
            if (c == 0) {
                *out++ = 0;
                in += 1;
            } else if (c == '\r' && in[1] == '\n') {
                *out++ = 4;
                in += 2;
            } else {
                *out++ = 4;
                in += 1;
            }
            continue;
        }
        if (mode_ == kComment) {
            if (c == ']' || c == '>') {
                in += 1;
                if (depth_ > 0 && --depth_ == 0) mode_ = kNormal;
            } else {
                in += StartsPair(in) ? 2 : 1;
            }
            continue;
        }
        if (mode_ == kString) {
            if (c == '"') {
                in += 1;
                *out++ = 3;
                mode_ = kNormal;
            } else if (StartsPair(in)) {
                *out++ = in[0];
                *out++ = in[1];
                in += 2;
            } else {
                *out++ = c;
                in += 1;
            }
            continue;
        }
        switch (c) {
        case '[':
            *out++ = 16;
            mode_ = kComment;
            depth_ = 1;
            in += 1;
            continue;
        case '<':
            mode_ = kComment;
            depth_ = 1;
            in += 1;
            continue;
        case ';':
            mode_ = kComment;
            depth_ = -1;
            in += 1;
            continue;
        case '"':
            *out++ = 1;
            mode_ = kString;
            in += 1;
            continue;
        case ' ':
            *out++ = 5;
            in += 1;
            continue;
        case '\t':
            *out++ = 6;
            in += 1;
            continue;
        default:
            break;
        }
        if (c >= '0' && c <= '9') {
            *out++ = c;
            in += 1;
        } else if (c >= 'a' && c <= 'f') {
            *out++ = static_cast<std::uint8_t>(c - 0x27);
            in += 1;
        } else if (c >= 'A' && c <= 'F') {
            *out++ = static_cast<std::uint8_t>(c - 7);
            in += 1;
        } else if (StartsPair(in)) {
            std::uint8_t t = (c == 0x81 && in[1] == 0x40) ? 5 : 7;  // the ideographic space separates
            *out++ = t;
            *out++ = t;
            in += 2;
        } else {
            *out++ = 7;
            in += 1;
        }
    }
    inCursor = in;
    outCursor = out;
    return 0;
}
