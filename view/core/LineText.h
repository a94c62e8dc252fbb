// Text pieces of the view's live displays and heading navigation: the
// hexadecimal run at the caret and its value, the heading field's text,
// and the search for heading lines in the gutter's line records. Texts are
// in code page 932; positions count characters, a double-byte character
// as one.
#pragma once

#include <cstdint>
#include <string>

#include "pipeline/CCalcBytePerLine.h"

namespace linetext {

bool IsLeadByte932(std::uint8_t byte);
bool IsHexDigit(char c);

// The run of hexadecimal digits that touches the caret: `window` is the
// text of the caret's line around it, the caret before character
// `caretChar` of the window. Empty when no digit touches the caret.
std::string CaretRun(const std::string& window, long caretChar);
// A selection is a run when it is 1..8 hexadecimal digits; else empty.
std::string SelectionRun(const std::string& selected);
// The value field's text for a run: its value in decimal and, when the
// top bit of its highest non-zero byte is set, the signed reading in
// brackets ("255 (-1)"). Empty for no run or a run of more than 8 digits.
std::string CaretValueText(const std::string& run);

// The heading field's text for a heading line: the line without the
// single-byte white space at its ends, after one space.
std::string HeadingFieldText(const std::string& line);

// The last line at or above `from` whose record is a heading, searching
// no further than line 0; -1 when there is none. `from` is clipped to the
// records (count of them: `count`).
long HeadingAtOrAbove(const LineRecord* records, std::uint32_t count, long from);
// The first heading line from `from` down to the last record; -1 if none.
long HeadingAtOrBelow(const LineRecord* records, std::uint32_t count, long from);

// The line to move to for "heading above" / "heading below" from the
// caret's line; -1 when there is none in that direction.
long HeadingAbove(const LineRecord* records, std::uint32_t count, long caretLine);
long HeadingBelow(const LineRecord* records, std::uint32_t count, long caretLine);

}  // namespace linetext
