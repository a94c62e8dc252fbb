#include "library/core/HexLineWriter.h"

#include "library/core/HexText.h"

namespace velda {

HexLineWriter::HexLineWriter(TextSink& sink, std::int32_t indent, unsigned unitSize, bool bigEndian,
                             std::int32_t lineBytes, std::int16_t separatorCode)
    : sink_(sink),
      indent_(indent),
      unitSize_(unitSize == 0 ? 1 : unitSize),
      bigEndian_(bigEndian),
      lineWidth_(LineWidth(unitSize_, lineBytes)),
      separator_(SeparatorChar(separatorCode)) {}

std::size_t HexLineWriter::LineWidth(unsigned unitSize, std::int32_t lineBytes) {
    if (unitSize == 0) unitSize = 1;
    std::size_t bytes = static_cast<std::size_t>(lineBytes > 0 ? lineBytes : kDefaultLineBytes);
    return (bytes + unitSize - 1) / unitSize * unitSize;
}

char HexLineWriter::SeparatorChar(std::int16_t separatorCode) {
    switch (separatorCode) {
        case 1: return '\t';
        case 2: return ',';
        default: return ' ';
    }
}

void HexLineWriter::WriteBlock(const std::uint8_t* bytes, std::size_t size, std::uint32_t* emitted) {
    // The lines of one block go out in one write call: a line is never split
    // across calls, and no other output can come between the lines of one
    // member call anyway. Per-line calls cost the editor's users most of the
    // throughput of a dump.
    text_.clear();
    std::size_t done = 0;
    while (done < size) {
        std::size_t lineSize = size - done < lineWidth_ ? size - done : lineWidth_;
        AppendIndent(text_, indent_);
        for (std::size_t unit = 0; unit < lineSize; unit += unitSize_) {
            if (unit != 0) text_ += separator_;
            const std::uint8_t* p = bytes + done + unit;
            std::size_t width = lineSize - unit < unitSize_ ? lineSize - unit : unitSize_;
            for (std::size_t k = 0; k < width; ++k) AppendHexByte(text_, bigEndian_ ? p[k] : p[width - 1 - k]);
        }
        text_ += '\n';
        done += lineSize;
    }
    if (size == 0) return;
    sink_.Write(text_.data(), text_.size());
    *emitted += static_cast<std::uint32_t>(size);
}

}  // namespace velda
