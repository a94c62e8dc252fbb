// Renders file bytes as the editor's character text: runs of printable
// characters between double quotes, every other byte as a hexadecimal pair,
// items separated by single spaces. The editor's packer reads each quoted
// character back as its byte and each pair as one byte, so the rendering
// never puts a double quote, a control character or a broken double-byte
// character inside quotes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velda {

// Lead byte of a double-byte character that the rendering keeps whole.
inline bool IsRenderLeadByte(std::uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
}
inline bool IsRenderTrailByte(std::uint8_t c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
// A single byte shown as itself (the double quote excepted).
inline bool IsRenderPrintable(std::uint8_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF);
}

void RenderCharacters(const std::uint8_t* bytes, std::size_t size, std::string& out);

}  // namespace velda
