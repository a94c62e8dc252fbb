// The CRC-32 both sides compute over emitted bytes: the table-driven reflected
// CRC-32 (polynomial 0x04C11DB7 taken least significant bit first), register
// started at 0 and no final complement. "123456789" gives 0x2DFD2D88.
#pragma once

#include <cstddef>
#include <cstdint>

namespace session {

std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t size);

inline std::uint32_t Crc32Byte(std::uint32_t crc, std::uint8_t byte) {
    return Crc32Update(crc, &byte, 1);
}

// Lead bytes of double-byte characters in code page 932.
inline bool IsLeadByte932(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace session
