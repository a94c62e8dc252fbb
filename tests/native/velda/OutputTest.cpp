// Value, hexadecimal, character, format, comment and heading lines: the exact
// text, the running counters, and that the text packs back to the bytes.
#include <random>

#include "tests/native/velda/VeldaFixture.h"

namespace velda::test {
namespace {

TEST_F(VeldaTest, ValueLinesPrintMostSignificantByteFirst) {
    Open({0x34, 0x12, 0xFE, 1, 2, 3, 4, 5, 6, 7, 8});
    core->indent = 1;
    UnitValue v;
    ASSERT_EQ(kOk, core->PutUnit(2, false, &v));
    EXPECT_EQ(0x1234, v.number);
    ASSERT_EQ(kOk, core->PutUnit(1, true, &v));
    EXPECT_EQ(-2, v.number);
    session::SetDataFormat(block, 1, true);
    core->indent = -3;
    ASSERT_EQ(kOk, core->PutUnit(8, false, &v));
    EXPECT_EQ((std::vector<std::string>{"\t1234\n", "\tFE\n", "0102030405060708\n"}), out.writes);
    EXPECT_EQ(11u, block.outputBytes);
    EXPECT_EQ(11u, P());
}

TEST_F(VeldaTest, HexLinesFollowWidthSeparatorAndUnit) {
    struct Case { Bytes data; unsigned unit; std::int32_t count; bool big; std::int32_t lineBytes; std::int16_t sep; std::string text; };
    const Case cases[] = {
        {{1, 2, 3}, 1, 3, false, 16, 2, "01,02,03\n"},
        {{0x34, 0x12, 0x78, 0x56}, 2, 2, false, 16, 0, "1234 5678\n"},
        {{1, 2, 3, 4, 5}, 1, 5, false, 4, 1, "01\t02\t03\t04\n05\n"},
        {{1, 2, 3, 4, 5}, 1, 5, false, 4, 2, "01,02,03,04\n05\n"},
        // A line keeps whole units even when the width is not a multiple of them.
        {{1, 2, 3, 4, 5, 6, 7, 8}, 4, 2, false, 6, 0, "04030201 08070605\n"},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 4, 2, true, 6, 0, "01020304 05060708\n"},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 2, 4, false, 5, 2, "0201,0403,0605\n0807\n"},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 8, 1, false, 1, 0, "0807060504030201\n"},
        {Pattern(17), 1, 17, false, 0, 7, "0B 30 55 7A 9F C4 E9 0E 33 58 7D A2 C7 EC 11 36\n5B\n"},
        {{1, 2}, 2, 0, false, 16, 0, ""},
    };
    for (const Case& c : cases) {
        Open(c.data, 1, c.big);
        block.lineBytes = c.lineBytes;
        block.separator = c.sep;
        ASSERT_EQ(kOk, core->PutUnits(c.unit, c.count));
        EXPECT_EQ(c.text, out.text);
        EXPECT_EQ(c.unit * c.count, block.outputBytes);
    }
}

// Lines restart at every 1024-byte read block; each block's lines are one
// write call, so no line is ever split across calls.
TEST_F(VeldaTest, BlocksStartNewLines) {
    Open(Pattern(1100));
    block.lineBytes = 24;
    ASSERT_EQ(kOk, core->PutUnits(1, 1100));
    ASSERT_EQ(2u, out.writes.size());
    EXPECT_EQ('\n', out.writes[0].back());
    std::vector<std::size_t> widths;
    std::size_t start = 0;
    for (std::size_t end; (end = out.text.find('\n', start)) != std::string::npos; start = end + 1)
        widths.push_back((end - start + 1) / 3);
    std::vector<std::size_t> expected(42, 24);
    expected.push_back(16);
    expected.insert(expected.end(), {24, 24, 24, 4});
    EXPECT_EQ(expected, widths);
    EXPECT_EQ(Pattern(1100), PackText(out.text, false));
}

// Whatever the layout settings, PutAll's text packs back to the file's bytes
// and the block counts exactly those bytes.
TEST_F(VeldaTest, PutAllTextPacksBackToTheFile) {
    for (unsigned unit : {1u, 2u, 3u, 4u, 8u, 9u, 127u}) {
        for (bool big : {false, true}) {
            for (std::int32_t lineBytes : {1, 6, 7, 24, 64, 0, -5, 5000}) {
                for (std::int16_t sep : {0, 1, 2}) {
                    for (std::size_t size : {0, 1, 10, 1023, 1024, 1025, 2053}) {
                        Open(Pattern(size + 5), unit, big);
                        block.lineBytes = lineBytes;
                        block.separator = sep;
                        core->indent = static_cast<std::int32_t>(size % 3);
                        core->Seek(5, 0);
                        ASSERT_EQ(kOk, core->PutAll());
                        const Bytes file = Pattern(size + 5), rest(file.begin() + 5, file.end());
                        ASSERT_EQ(rest, PackText(out.text, big)) << unit << " " << lineBytes << " " << size;
                        ASSERT_EQ(size, block.outputBytes);
                        ASSERT_EQ(session::Crc32Update(0, rest.data(), rest.size()), block.outputCrc);
                        ASSERT_TRUE(core->Eof());
                    }
                }
            }
        }
    }
}

TEST_F(VeldaTest, PutAllWritesTheTailAsSingleBytes) {
    Open({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 4);
    ASSERT_EQ(kOk, core->PutAll());
    EXPECT_EQ("04030201 08070605\n09 0A\n", out.text);
    Open({1, 2, 3}, 0);  // no unit size: nothing to lay out
    ASSERT_EQ(kOk, core->PutAll());
    EXPECT_EQ("", out.text);
    EXPECT_EQ(0u, P());
}

TEST_F(VeldaTest, CharacterLinesQuoteRunsAndSpellOutTheRest) {
    struct Case { Bytes data; std::string text; };
    const Case cases[] = {
        {{0x41, 0x42, 0x00, 0x43}, "\"AB\" 00 \"C\"\n"},
        {{0x00, 0x0A}, "00 0A\n"},
        {{0x22, 0x41, 0x22}, "22 \"A\" 22\n"},
        {{0x82, 0xA0}, "\"\x82\xA0\"\n"},
        {{0x82}, "82\n"},
        {{0x41, 0x82}, "\"A\" 82\n"},          // lead byte cut off by the run's end
        {{0x82, 0x20}, "82 \" \"\n"},          // no valid trail byte
        {{0xE0, 0x7F, 0xEF, 0x40}, "E0 7F \"\xEF\x40\"\n"},
        {{0xF0, 0x40, 0xA0, 0xB1, 0xDF, 0x7F, 0x80}, "F0 \"@\" A0 \"\xB1\xDF\" 7F 80\n"},
        {{}, "\n"},
    };
    for (const Case& c : cases) {
        Open(c.data);
        ASSERT_EQ(kOk, core->PutString(static_cast<std::int32_t>(c.data.size())));
        EXPECT_EQ(c.text, out.text);
        EXPECT_EQ(c.data.size(), block.outputBytes);
    }
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Bytes data(random() % 40);
        for (auto& b : data) b = static_cast<std::uint8_t>(random() % 4 == 0 ? 0x81 + random() % 16 : random());
        Open(data);
        ASSERT_EQ(kOk, core->PutString(static_cast<std::int32_t>(data.size())));
        for (bool big : {false, true}) ASSERT_EQ(data, PackText(out.text, big)) << out.text;
    }
}

TEST_F(VeldaTest, FormatLines) {
    struct Case { const char* format; Bytes data; bool big; bool quiet; std::string text; std::uint64_t p; };
    const Case cases[] = {
        {"ID:%B %2W", {0x07, 0x34, 0x12, 0x78, 0x56}, false, false, "ID:07 1234 5678\n", 5},
        {"%q", {1, 2, 3, 4, 5, 6, 7, 8}, true, false, "0102030405060708\n", 8},
        {"%%<%0b>", {7}, false, false, "%%<07>\n", 1},
        {"%2C;%d", {0x41, 0x00, 1, 2, 3, 4}, false, false, "\"A\" 00;04030201\n", 6},
        {"<\x82%B>%B", {9}, false, false, "<\x82%B>09\n", 1},  // '%' hidden in a double-byte char
        {"<a>%B<b>%%", {7}, false, true, "07%%\n", 1},
        {"<only text>", {7}, false, false, "<only text>", 0},
        {"<only text>", {7}, false, true, "", 0},
    };
    for (const Case& c : cases) {
        Open(c.data, 1, c.big);
        block.quietFlags = c.quiet ? session::kQuietAnnotations : 0;
        ASSERT_EQ(kOk, core->PutFormat(c.format)) << c.format;
        EXPECT_EQ(c.text, out.text) << c.format;
        EXPECT_EQ(c.p, P());
        EXPECT_EQ(c.p, block.outputBytes);
    }
    Open({7});  // text without conversions continues the current line
    core->PutFormat("<n>");
    UnitValue v;
    core->PutUnit(1, false, &v);
    EXPECT_EQ("<n>07\n", out.text);
}

TEST_F(VeldaTest, CommentAndHeadingLines) {
    Open({});
    core->PrintIndex("A");
    core->indent = 2;
    core->Print("x\ny");
    block.quietFlags = session::kQuietAnnotations;
    core->Print("hidden");
    core->PrintIndex("hidden");
    block.quietFlags = 0;
    core->indent = 0;
    core->PrintIndex(std::string("B\0C", 3));
    EXPECT_EQ((std::vector<std::string>{"[ 1.A ]\r\n", "\t\t< x\r\ny >\r\n", "[ 2.B ]\r\n"}), out.writes);
    block.quietFlags = session::kQuietAnnotations;  // messages are not annotations
    core->Message("a\nb");
    EXPECT_EQ((std::vector<std::string>{"a\r\nb\r\n"}), err.writes);
}

}  // namespace
}  // namespace velda::test
