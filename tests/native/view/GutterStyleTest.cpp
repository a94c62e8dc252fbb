// The gutter's digits, numbers and style switching, and the character
// pane's cells.
#include <gtest/gtest.h>

#include <vector>

#include "view/core/GutterStyle.h"
#include "view/core/PaneCells.h"

using namespace gutter;

TEST(GutterDigits, FromTheByteCountPerRadix) {
    struct Case {
        unsigned style;
        std::uint32_t bytes;
        int digits;
    };
    const Case cases[] = {
        {0x02, 0, 4},          {0x82, 0, 4},          {0x02, 0x1000, 4},     {0x82, 0x1000, 4},
        {0x02, 0x10000, 5},    {0x82, 0x10000, 5},    {0x01, 0x10000, 5},    {0x81, 99999, 5},
        {0x81, 100000, 6},     {0x04, 0xFFFFFFFF, 8}, {0x84, 0xFFFFFFFF, 8}, {0x00, 0x10000000, 4},
        {0x03, 0x123456, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DigitCount(c.style, c.bytes), c.digits) << std::hex << c.style << " " << c.bytes;
    }
    EXPECT_EQ(Width(0, 8, 4), 5);
    EXPECT_EQ(Width(0x02, 8, 6), 58);
    EXPECT_EQ(FileSizeText(0), "       0 [       0H]");
    EXPECT_EQ(FileSizeText(65536), "   65536 [   10000H]");
}

TEST(GutterNumbers, EveryStyleWithAndWithoutBaseLine) {
    // Lines start at bytes 0, 3, 16, 35 and 0x10000 (nibbles twice that).
    std::vector<LineRecord> records = {{0, 0, 0}, {6, 0, 0}, {32, 1, 0}, {70, 0, 0}, {0x20000, 0, 0}};
    auto count = static_cast<std::uint32_t>(records.size());
    struct Case {
        unsigned style;
        std::uint32_t line, base;
        bool drawn;
        std::uint32_t value;
    };
    const Case cases[] = {
        {0x01, 0, 0, true, 1},  {0x01, 3, 0, true, 4},     {0x81, 3, 0, true, 4},
        {0x01, 1, 3, true, 3},  {0x01, 3, 3, true, 1},     {0x01, 4, 3, true, 2},
        {0x02, 1, 0, true, 3},  {0x03, 1, 0, true, 1},     {0x04, 1, 0, true, 0},
        {0x02, 3, 0, true, 35}, {0x82, 4, 0, true, 65536}, {0x04, 4, 0, true, 0x4000},
        // A base line below: the distance, positive, in the style's unit.
        {0x02, 1, 3, true, 32}, {0x03, 1, 3, true, 16},    {0x02, 4, 3, true, 0x10000 - 35},
        // A base line beyond the records counts as none.
        {0x02, 3, 9, true, 35}, {0x01, 3, 9, true, 4},
        // Off, an unknown kind, a line without a record.
        {0x00, 1, 0, false, 0}, {0x05, 1, 0, false, 0},    {0x02, 5, 0, false, 0},
    };
    for (const Case& c : cases) {
        std::uint32_t v = 12345;
        bool drawn = LineValue(c.style, c.line, c.base, records.data(), count, &v);
        EXPECT_EQ(drawn, c.drawn) << std::hex << c.style << " line " << c.line << " base " << c.base;
        if (drawn && c.drawn) EXPECT_EQ(v, c.value) << std::hex << c.style << " line " << c.line;
    }
    EXPECT_EQ(TotalBytes(records.data(), 4), 0x10000u);
    EXPECT_EQ(FormatValue(0x02, 6, 0x1F), "00001F");
    EXPECT_EQ(FormatValue(0x82, 5, 65536), "65536");
    EXPECT_EQ(FormatValue(0x02, 4, 0x12345), "2345");   // modulo 16^4
    EXPECT_EQ(FormatValue(0x82, 4, 123456), "3456");    // modulo 10^4
    EXPECT_EQ(FormatValue(0x04, 8, 0xFFFFFFFF), "FFFFFFFF");
}

TEST(GutterStyles, CommandsToggleKindsAndKeepTheRadix) {
    struct Case {
        unsigned current;
        StyleCommand command;
        unsigned after;
        bool redraw;
        const char* message;
    };
    const Case cases[] = {
        {0x02, StyleCommand::Word, 0x03, true, "ワード数１６進表示に切り替えました。"},
        {0x82, StyleCommand::DoubleWord, 0x84, true, "ダブルワード数１０進表示に切り替えました。"},
        {0x02, StyleCommand::Decimal, 0x82, true, "バイト数１０進表示に切り替えました。"},
        {0x82, StyleCommand::Hexadecimal, 0x02, true, "バイト数１６進表示に切り替えました。"},
        {0x02, StyleCommand::Hexadecimal, 0x02, false, "バイト数１６進表示に切り替えました。"},
        {0x01, StyleCommand::Hexadecimal, 0x01, true, "行番号１６進表示に切り替えました。"},
        {0x81, StyleCommand::Byte, 0x82, true, "バイト数１０進表示に切り替えました。"},
        {0x03, StyleCommand::LineNumber, 0x01, true, "行番号１６進表示に切り替えました。"},
        // The current kind's command turns the gutter off, without a message.
        {0x82, StyleCommand::Byte, 0x00, true, ""},
        {0x01, StyleCommand::LineNumber, 0x00, true, ""},
        // Radix commands leave an off gutter off.
        {0x00, StyleCommand::Decimal, 0x00, false, ""},
        {0x00, StyleCommand::Hexadecimal, 0x00, false, ""},
    };
    for (const Case& c : cases) {
        StyleChange change = ApplyRequest(c.current, RequestFor(c.command, c.current));
        EXPECT_EQ(change.style, c.after) << std::hex << c.current << " " << static_cast<int>(c.command);
        EXPECT_EQ(change.redraw, c.redraw) << std::hex << c.current << " " << static_cast<int>(c.command);
        EXPECT_EQ(change.announce ? StyleMessage(change.style) : std::string(), c.message);
    }
    // Decimal byte offsets, off, byte offsets again: hexadecimal.
    unsigned style = 0x82;
    style = ApplyRequest(style, RequestFor(StyleCommand::Byte, style)).style;
    style = ApplyRequest(style, RequestFor(StyleCommand::Byte, style)).style;
    EXPECT_EQ(style, 0x02u);
    // The gutter message itself: 6 turns off, 1 takes only kinds 1..4.
    EXPECT_EQ(ApplyRequest(0x02, {1, 0x85}).style, 0x02u);
    EXPECT_EQ(ApplyRequest(0x02, {1, 0x102}).style, 0x02u);
    EXPECT_EQ(ApplyRequest(0x02, {6, 0}).style, 0x00u);
}

TEST(PaneCells, BytesOfALineAsSixteenCells) {
    struct Case {
        const char* text;
        std::string cells;
    };
    const Case cases[] = {
        {"41 42 43", "ABC             "},
        {"41,42,43,", "ABC             "},
        {"\"AB\" 43 <comment 44> 45 [heading]", "ABCE            "},
        {"82A0", "\x82\xA0              "},
        {"7F 00 A1 20 7E", "    ~           "},
        // A double-byte character in cells 15 and 16, then one whose lead
        // byte is the 16th byte: that cell stays a space.
        {"30 31 32 33 34 35 36 37 38 39 41 42 43 44 82 A0", "0123456789ABCD\x82\xA0"},
        {"30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 82 A0", "0123456789ABCDE "},
        {"4142434445464748494A4B4C4D4E4F505152535455", "ABCDEFGHIJKLMNOP"},
        {"\"\x82\xA0\x82\xA2\"", "\x82\xA0\x82\xA2            "},
        {"", "                "},
        {"; only a comment", "                "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pane::FillCells(pane::LineBytes(c.text)), c.cells) << c.text;
    }
    EXPECT_EQ(pane::SplitLines("a\rb\r\nc\n\nd"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
}
