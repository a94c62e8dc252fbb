// The format language of GetFormat and PutFormat: a percent sign, an
// optional decimal count (missing or 0 means 1) and one of the letters
// B, C, W, D, Q in either case (byte, character byte, word, double word,
// quad word). Everything else is literal text; a double-byte character is
// taken as a whole, so its trail byte never starts a conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velda {

struct FormatItem {
    enum class Kind { Literal, PercentPair, Conversion };
    Kind kind = Kind::Literal;
    std::size_t begin = 0;    // Literal: first byte in the format text
    std::size_t length = 0;   // Literal: number of bytes
    char letter = 0;          // Conversion: 'B', 'C', 'W', 'D' or 'Q'
    unsigned unitSize = 0;    // Conversion: 1, 1, 2, 4 or 8
    std::uint64_t count = 0;  // Conversion: units, at least 1
};

class FormatParser {
public:
    // Reading formats treat "%%" as an error; writing formats as literal
    // text that is written as both percent signs.
    enum class Dialect { Read, Write };

    // Counts larger than this are held at it. Any such count asks for more
    // bytes than a file can have, so the read comes up short and the run
    // ends with the end-of-file report instead of an overflowed total.
    static constexpr std::uint64_t kCountLimit = std::uint64_t{1} << 56;

    // False on a bad conversion (a percent sign followed by anything but a
    // count and a conversion letter, or by nothing).
    static bool Parse(const std::string& format, Dialect dialect, std::vector<FormatItem>* items);

    // Bytes and elements of all conversions, saturating instead of wrapping.
    static std::uint64_t TotalBytes(const std::vector<FormatItem>& items);
    static std::uint64_t TotalUnits(const std::vector<FormatItem>& items);
};

}  // namespace velda
