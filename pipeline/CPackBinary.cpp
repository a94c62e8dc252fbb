#include "pipeline/CPackBinary.h"

#include "session/Crc32.h"

namespace {

enum Mode { kNormal = 0, kString = 1, kComment = 2 };

bool IsLineEnd(std::uint8_t c) { return c == 0 || c == '\r' || c == '\n'; }

// A lead byte counts as the start of a double-byte character only when a
// trail byte follows on the same line: a stray lead byte never swallows the
// line end behind it.
bool StartsPair(const std::uint8_t* p) { return session::IsLeadByte932(p[0]) && !IsLineEnd(p[1]); }

// Token of each character that stands for itself in normal mode (digits,
// separators, unknown single bytes); 0 for the characters that need a rule
// of their own: line ends, brackets, quotes, comment starts and lead bytes.
struct SimpleTokens {
    std::uint8_t token[256];
    SimpleTokens() {
        for (int c = 0; c < 256; ++c) {
            std::uint8_t t = 7;
            if (c >= '0' && c <= '9') t = static_cast<std::uint8_t>(c);
            else if (c >= 'a' && c <= 'f') t = static_cast<std::uint8_t>(c - 0x27);
            else if (c >= 'A' && c <= 'F') t = static_cast<std::uint8_t>(c - 7);
            else if (c == ' ') t = 5;
            else if (c == '\t') t = 6;
            else if (c == 0 || c == '\r' || c == '\n' || c == '[' || c == '<' || c == ';' || c == '"' ||
                     session::IsLeadByte932(static_cast<unsigned char>(c)))
                t = 0;
            token[c] = t;
        }
    }
};
const SimpleTokens kSimple;

}  // namespace

void CPackBinary::Init() {
    mode_ = kNormal;
    depth_ = 0;
    RequestPadding(0, 16);
}

int CPackBinary::Process() {
    // Cursors and bounds in locals: byte stores could alias the members.
    const std::uint8_t* in = inCursor;
    const std::uint8_t* const inEnd = this->inEnd;
    std::uint8_t* out = outCursor;
    std::uint8_t* const outLimit = this->outLimit;
    while (in + 2 < inEnd && out + 2 < outLimit) {
        if (mode_ == kNormal) {
            // Runs of characters that stand for themselves, without the
            // per-character mode dispatch below.
            std::size_t room = static_cast<std::size_t>(outLimit - out) - 2;
            std::size_t left = static_cast<std::size_t>(inEnd - in) - 2;
            const std::uint8_t* stop = in + (room < left ? room : left);
            while (in + 4 <= stop) {
                std::uint8_t a = kSimple.token[in[0]], b = kSimple.token[in[1]];
                std::uint8_t c = kSimple.token[in[2]], d = kSimple.token[in[3]];
                if (!a || !b || !c || !d) break;
                out[0] = a;
                out[1] = b;
                out[2] = c;
                out[3] = d;
                out += 4;
                in += 4;
            }
            while (in < stop) {
                std::uint8_t t = kSimple.token[*in];
                if (!t) break;
                *out++ = t;
                ++in;
            }
            if (in == stop) continue;
        }
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
