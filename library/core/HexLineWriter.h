// Writes blocks of file bytes as the editor's hexadecimal lines: the indent,
// two upper-case digits per byte, the separator where a new unit starts,
// and a line feed; one write call per block.
//
// A line always holds whole units. The editor packs every digit run between
// separators as one number in the document's byte order, so a unit cut at a
// line end would come back with its halves reordered. Like the editor's own
// hexadecimal layout, a line ends at the first unit boundary at or past the
// configured byte count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "library/core/Ports.h"

namespace velda {

class HexLineWriter {
public:
    // The editor's default, used when the configured width is not positive.
    static constexpr std::int32_t kDefaultLineBytes = 16;

    HexLineWriter(TextSink& sink, std::int32_t indent, unsigned unitSize, bool bigEndian,
                  std::int32_t lineBytes, std::int16_t separatorCode);

    // Bytes on one full line for these settings.
    static std::size_t LineWidth(unsigned unitSize, std::int32_t lineBytes);
    // 1 tab, 2 comma, anything else space.
    static char SeparatorChar(std::int16_t separatorCode);

    // Writes size bytes (whole units, in file order) starting on a new
    // line, in one write call; then adds size to *emitted.
    void WriteBlock(const std::uint8_t* bytes, std::size_t size, std::uint32_t* emitted);

private:
    TextSink& sink_;
    std::int32_t indent_;
    unsigned unitSize_;
    bool bigEndian_;
    std::size_t lineWidth_;
    char separator_;
    std::string text_;
};

}  // namespace velda
