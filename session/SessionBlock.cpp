#include "session/SessionBlock.h"

#include <cstring>

#include "session/Crc32.h"

namespace session {

void SetDataFormat(SessionBlock& block, unsigned unitSize, bool bigEndian) {
    std::uint16_t kept = block.dataFormat & 0xFF00;
    block.dataFormat = static_cast<std::uint16_t>(kept | ((unitSize & 0x7F) << 1) | (bigEndian ? 1 : 0));
}

SessionBlock MakeMasterBlock() {
    SessionBlock block;
    std::memset(&block, 0, sizeof block);
    block.blockSize = kBlockSize;
    block.lineBytes = 16;
    block.separator = 0;
    block.dataFormat = 2;
    return block;
}

void CopyTextField(char* field, std::size_t width, const char* text, std::size_t length) {
    if (width == 0) return;
    std::size_t limit = width - 1;
    std::size_t n = 0;
    while (n < length && n < limit) {
        unsigned char c = static_cast<unsigned char>(text[n]);
        if (IsLeadByte932(c)) {
            if (n + 1 >= length || n + 2 > limit) break;  // keep the pair whole
            n += 2;
        } else {
            n += 1;
        }
    }
    std::memcpy(field, text, n);
    std::memset(field + n, 0, width - n);
}

}  // namespace session
