// Typed reads, arrays, formats, searches and navigation over the shared
// read position.
#include <functional>

#include "tests/native/velda/VeldaFixture.h"

namespace velda::test {
namespace {

TEST_F(VeldaTest, TypedReadsAssembleUnitsAndLeavePositionAlone) {
    struct Case { Bytes data; bool big; unsigned width; std::int32_t distance; bool isSigned; double value; };
    const double kError = -0.5;  // a quad word that cannot be a number
    const Case cases[] = {
        {{0x12, 0x34, 0x56, 0x78}, false, 2, 0, false, 0x3412},
        {{0x12, 0x34, 0x56, 0x78}, false, 2, 1, false, 0x7856},
        {{0x12, 0x34, 0x56, 0x78}, false, 4, 0, false, 0x78563412},
        {{0x12, 0x34, 0x56, 0x78}, true, 2, 0, false, 0x1234},
        {{0xFF}, false, 1, 0, true, -1},
        {{0xFF}, false, 1, 0, false, 255},
        {{0x00, 0x80}, false, 2, 0, true, -32768},
        {{0x80, 0, 0, 0}, true, 4, 0, true, -2147483648.0},
        {{0, 0, 0, 0, 0, 0, 0, 0x80}, false, 8, 0, false, 9223372036854775808.0},  // bit 63 alone
        {{0, 0, 0, 0, 0, 0x80, 0, 0}, false, 8, 0, true, 140737488355328.0},     // 2^47
        {{0, 0, 0, 0, 0, 0, 1, 0}, false, 8, 0, false, kError},                  // 2^48
        {Bytes(8, 0xFF), false, 8, 0, true, kError},                             // -1
    };
    for (const Case& c : cases) {
        Open(c.data, 1, c.big);
        UnitValue v;
        ASSERT_EQ(kOk, core->GetUnit(c.width, c.distance, c.isSigned, &v));
        EXPECT_EQ(c.value == kError, v.isError);
        if (!v.isError) {
            EXPECT_EQ(c.value, v.number);
        }
        EXPECT_EQ(0u, P());
    }
    Open({0x12, 0x34, 0x56, 0x78});
    core->Seek(2, 0);
    UnitValue v;
    ASSERT_EQ(kOk, core->GetUnit(2, -1, false, &v));  // distances may point behind P
    EXPECT_EQ(0x3412, v.number);
    std::string s;
    ASSERT_EQ(kOk, core->GetString(2, -2, &s));
    EXPECT_EQ("\x12\x34", s);
    EXPECT_EQ(2u, P());
}

TEST_F(VeldaTest, HandleMovesOnlyWhenPositionDiffers) {
    Open(Pattern(2000));
    ASSERT_EQ(kOk, core->PutUnits(1, 2));
    ASSERT_EQ(kOk, core->PutUnits(1, 2));
    UnitValue v;
    ASSERT_EQ(kOk, core->GetUnit(1, 3, false, &v));  // reads at 7
    ASSERT_EQ(kOk, core->PutUnits(1, 1100));          // back at 4
    EXPECT_EQ((std::vector<std::uint64_t>{0, 7, 4}), source->seeks);
    EXPECT_EQ((std::vector<std::size_t>{2, 2, 1, 1024, 76}), source->reads);
}

TEST_F(VeldaTest, ArraysStringsAndFormatsReadAtPWithoutMovingIt) {
    Open({0x01, 0x00, 0x02, 0x00, 0x41, 0x00, 0x43});
    std::vector<std::uint64_t> units;
    ASSERT_EQ(kOk, core->GetUnits(2, 3, &units));
    EXPECT_EQ((std::vector<std::uint64_t>{1, 2, 0x41}), units);
    ASSERT_EQ(kOk, core->GetUnits(4, 0, &units));
    EXPECT_TRUE(units.empty());
    ASSERT_EQ(kOk, core->GetUnitsOf(1, 5, &units));
    EXPECT_EQ((std::vector<std::uint64_t>{1, 0, 2, 0, 0x41}), units);
    std::string s = "x";
    ASSERT_EQ(kOk, core->GetString(3, 4, &s));  // cut at the zero byte
    EXPECT_EQ("A", s);
    ASSERT_EQ(kOk, core->GetString(0, 100, &s));
    EXPECT_EQ("", s);

    std::vector<FormatElement> e;
    ASSERT_EQ(kOk, core->GetFormat("%2W\x82\xA0%C", &e));  // the double-byte character is skipped whole
    ASSERT_EQ(3u, e.size());
    EXPECT_EQ(FormatElement::Kind::Word, e[0].kind);
    EXPECT_EQ(1u, e[0].value);
    EXPECT_EQ(2u, e[1].value);
    EXPECT_EQ(FormatElement::Kind::Char, e[2].kind);
    EXPECT_EQ("A", e[2].text);
    ASSERT_EQ(kOk, core->GetFormat("%b%0w", &e));
    EXPECT_EQ(0x0200u, e[1].value);
    EXPECT_EQ(0u, P());
    EXPECT_EQ("", out.text);
    EXPECT_EQ(0u, block.outputBytes);
}

// A bad conversion is reported before anything is read or written; "%%" is
// literal text only where text is written.
TEST_F(VeldaTest, BadFormatsAreReportedBeforeReading) {
    std::vector<FormatElement> e;
    for (const char* format : {"", "text", "\x82%B"}) {
        Open({1, 2});
        EXPECT_EQ(kInvalidArg, core->GetFormat(format, &e)) << format;
        EXPECT_EQ(0, block.status);
    }
    for (const char* format : {"%%", "%B%", "%2", "%x", "%3%"}) {
        for (bool write : {false, true}) {
            if (write && format == std::string("%%")) continue;
            Open({1, 2});
            EXPECT_EQ(kAbort, write ? core->PutFormat(format) : core->GetFormat(format, &e)) << format;
            EXPECT_EQ(ErrorLine("0", texts::kBadFormat), err.text);
            EXPECT_EQ(std::string(texts::kErrorBanner) + "01 02\n", out.text);
            EXPECT_EQ(session::kStatusFatalError, block.status);
        }
    }
}

TEST_F(VeldaTest, NegativeSizesAreRejected) {
    Open({1, 2, 3});
    std::string s;
    std::vector<std::uint64_t> u;
    EXPECT_EQ(kInvalidArg, core->GetString(-1, 0, &s));
    EXPECT_EQ(kInvalidArg, core->GetUnits(1, -1, &u));
    EXPECT_EQ(kInvalidArg, core->PutString(-1));
    EXPECT_EQ(kInvalidArg, core->PutUnits(2, -1));
    EXPECT_EQ("", out.text + err.text);
    EXPECT_EQ(0u, P());
}

TEST_F(VeldaTest, FindComparesAlignedUnitsFromP) {
    struct Case { Bytes data; bool big; unsigned width; std::uint64_t value; std::uint64_t seek; std::int32_t index; };
    const Case cases[] = {
        {{0, 0, 0x12, 0x34}, true, 2, 0x1234, 0, 1},
        {{0, 0x12, 0x34, 0}, true, 2, 0x1234, 0, -1},  // unaligned
        {{0, 0, 0x34, 0x12}, false, 2, 0xAB1234, 0, 1},  // only the low bytes count
        {{9, 9, 9, 7}, false, 1, 7, 1, 2},
        {{9, 9, 9, 7}, false, 1, 7, 4, -1},  // at the end
        {{1, 0, 0, 0, 1, 0, 0}, false, 4, 1, 1, -1},  // last unit incomplete
        {{1, 2, 3, 4, 5, 6, 7, 8}, true, 8, 0x0102030405060708u, 0, 0},
    };
    for (const Case& c : cases) {
        Open(c.data, 1, c.big);
        core->Seek(static_cast<std::int64_t>(c.seek), 0);
        EXPECT_EQ(c.index, core->Find(c.width, c.value));
        EXPECT_EQ(c.seek, P());
    }
    Bytes big(200000, 0);
    big[150001] = 5;
    Open(big);
    EXPECT_EQ(150001, core->Find(1, 5));  // found in a later read block
}

TEST_F(VeldaTest, SeekAcceptsOnlyTargetsWithinTheFile) {
    struct Case { std::int64_t offset; std::int32_t mode; std::uint64_t expected; };
    const Case cases[] = {
        {10, 0, 10}, {11, 0, 4}, {-1, 2, 9}, {1, 2, 4}, {3, 1, 7}, {-4, 1, 0}, {-5, 1, 4},
        {6, 7, 6}, {INT64_MAX, 1, 4}, {INT64_MIN, 2, 4},
    };
    for (const Case& c : cases) {
        Open(Bytes(10));
        core->Seek(4, 0);
        core->Seek(c.offset, c.mode);
        EXPECT_EQ(c.expected, P()) << c.offset << " " << c.mode;
        EXPECT_EQ(c.expected == 10, core->Eof());
    }
}

// Every member that reads reports a short read from where its read began:
// the bytes it could not finish are still owed to the text, so the report's
// dump holds them, and the position is left where the dump ended.
TEST_F(VeldaTest, ShortReadsReportFromTheStartOfTheRead) {
    using Member = std::function<HResult(FileCore&)>;
    const std::pair<const char*, Member> members[] = {
        {"GetDWord", [](FileCore& f) { UnitValue v; return f.GetUnit(4, 0, false, &v); }},
        {"GetWord beyond", [](FileCore& f) { UnitValue v; return f.GetUnit(2, 1, false, &v); }},
        {"GetByte far", [](FileCore& f) { UnitValue v; return f.GetUnit(1, 100, false, &v); }},
        {"GetString", [](FileCore& f) { std::string s; return f.GetString(3, 0, &s); }},
        {"GetWordOf", [](FileCore& f) { std::vector<std::uint64_t> u; return f.GetUnitsOf(2, 2, &u); }},
        {"GetBytes", [](FileCore& f) { std::vector<std::uint64_t> u; return f.GetUnits(1, 5, &u); }},
        {"GetFormat", [](FileCore& f) { std::vector<FormatElement> e; return f.GetFormat("%B%W", &e); }},
        {"PutDWord", [](FileCore& f) { UnitValue v; return f.PutUnit(4, false, &v); }},
        {"PutQWord", [](FileCore& f) { UnitValue v; return f.PutUnit(8, false, &v); }},
        {"PutString", [](FileCore& f) { return f.PutString(3); }},
        {"PutWords", [](FileCore& f) { return f.PutUnits(2, 2); }},
        {"PutFormat", [](FileCore& f) { return f.PutFormat("<x>%3C"); }},
        {"PutFormat count", [](FileCore& f) { return f.PutFormat("%99999999999999999999999Q"); }},
    };
    for (bool seekRefused : {false, true}) {
        for (const auto& [name, member] : members) {
            Open({0, 1, 2, 3, 4, 5, 6, 7, 0xAB, 0xCD});
            core->Seek(8, 0);
            source->failSeeks = seekRefused;
            EXPECT_EQ(kAbort, member(*core)) << name;
            EXPECT_EQ(ErrorLine("8"), err.text) << name;
            std::string dump = seekRefused ? "" : "AB CD\n";
            EXPECT_EQ(texts::kErrorBanner + dump, out.text) << name;
            EXPECT_EQ(seekRefused ? 8u : 10u, P()) << name;
            EXPECT_EQ(8, block.errorOffset);
            EXPECT_EQ(dump.empty() ? 0u : 2u, block.outputBytes) << name;
        }
    }
}

TEST_F(VeldaTest, ReadCallsThatComeBackShortAreEndOfFile) {
    Open(Pattern(64));
    source->readLimit = 3;
    UnitValue v;
    EXPECT_EQ(kOk, core->GetUnit(2, 0, false, &v));
    EXPECT_EQ(kAbort, core->GetUnit(4, 0, false, &v));
    EXPECT_EQ(ErrorLine("0"), err.text);
    EXPECT_EQ(0u, P());  // the dump stopped at its first short block
    EXPECT_EQ(std::string(texts::kErrorBanner), out.text);
}

}  // namespace
}  // namespace velda::test
