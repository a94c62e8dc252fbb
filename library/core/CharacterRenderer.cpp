#include "library/core/CharacterRenderer.h"

#include "library/core/HexText.h"

namespace velda {

void RenderCharacters(const std::uint8_t* bytes, std::size_t size, std::string& out) {
    bool quoted = false;
    std::size_t i = 0;
    while (i < size) {
        std::uint8_t c = bytes[i];
        if (IsRenderLeadByte(c) && i + 1 < size && IsRenderTrailByte(bytes[i + 1])) {
            if (!quoted) out += '"';
            quoted = true;
            out += static_cast<char>(c);
            out += static_cast<char>(bytes[i + 1]);
            i += 2;
        } else if (IsRenderPrintable(c) && c != '"') {
            if (!quoted) out += '"';
            quoted = true;
            out += static_cast<char>(c);
            i += 1;
        } else {
            if (quoted) out += "\" ";
            quoted = false;
            AppendHexByte(out, c);
            i += 1;
        }
        if (i < size && !quoted) out += ' ';
    }
    if (quoted) out += '"';
}

}  // namespace velda
