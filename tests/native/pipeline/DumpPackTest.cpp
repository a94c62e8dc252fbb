// File bytes to hexadecimal text and back: the text of every layout, the
// round trip through every endpoint kind, and inputs that cross the run's
// buffers many times.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "TestEndpoints.h"
#include "pipeline/Chains.h"

using namespace pramel_test;

namespace {

HexLayout Layout(int group, std::uint32_t order, std::uint32_t perLine, std::uint32_t sep) {
    HexLayout l;
    l.groupSize = group;
    l.byteOrder = order;
    l.bytesPerLine = perLine;
    l.separatorCode = sep;
    return l;
}

std::string Describe(const HexLayout& l) {
    return "group " + std::to_string(l.groupSize) + (l.byteOrder ? " big" : " little") + ", " +
           std::to_string(l.bytesPerLine) + " per line, separator " + std::to_string(l.separatorCode);
}

const std::vector<std::vector<std::size_t>> kChunkings = {{kWhole}, {1}, {7}, {333}, {4096}, {1, 7, 333, 2, 4096}};
const std::vector<std::vector<std::size_t>> kBuffers = {{65536}, {1}, {5}, {4095}, {5, 1, 4095}};

std::string Dump(EndKind from, EndKind to, const std::string& data, const HexLayout& layout, int variant) {
    auto src = Endpoint::Source(from, data, kChunkings[variant % kChunkings.size()]);
    auto sink = Endpoint::Sink(to, data.size() * 4 + 64, kBuffers[variant % kBuffers.size()]);
    EXPECT_GE(RunDumpChain(src->stream(), layout, sink->stream()), 0);
    EXPECT_TRUE(sink->GuardIntact());
    return sink->Output();
}

std::string Pack(EndKind from, EndKind to, const std::string& text, std::uint32_t order, int variant) {
    auto src = Endpoint::Source(from, text, kChunkings[variant % kChunkings.size()]);
    auto sink = Endpoint::Sink(to, text.size() + 64);
    EXPECT_GE(RunPackChain(src->stream(), order, sink->stream()), 0);
    EXPECT_TRUE(sink->GuardIntact());
    return sink->Output();
}

}  // namespace

TEST(Dump, WorkedExamples) {
    const std::string five = Bytes("01 02 03 04 05");
    struct Case {
        std::string data;
        HexLayout layout;
        std::string text;
    } cases[] = {
        {five, Layout(2, 0, 4, 0), "0201 0403\r\n05"},
        {five, Layout(2, 0, 4, 2), "0201,0403,\r\n05"},
        {five, Layout(2, 0, 4, 1), "0201\t0403\r\n05"},
        {five, Layout(2, 1, 4, 0), "0102 0304\r\n05"},
        {Bytes("01 02 03 04 05 06"), Layout(4, 0, 16, 0), "04030201 0605"},
        {Bytes("01 02 03 04 05 06"), Layout(4, 1, 16, 0), "01020304 0506"},
        {Bytes("01 02 03 04"), Layout(1, 0, 4, 2), "01,02,03,04\r\n"},
        {Bytes("0A FF 10 20 30 40 50 60 70"), Layout(4, 1, 5, 0), "0AFF1020 30405060\r\n70"},
        {"", Layout(4, 0, 4, 0), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.layout) + ": " + Hex(c.data));
        EXPECT_EQ(Dump(EndKind::String, EndKind::String, c.data, c.layout, 0), c.text);
        EXPECT_EQ(ReferenceDump(c.data, c.layout), c.text);
    }
}

// Every layout: random files of 0..5000 bytes give the reference text and
// pack back to the same bytes, with the endpoints of both chains varied.
class LayoutRoundTripTest : public ::testing::TestWithParam<std::tuple<int, std::uint32_t, std::uint32_t>> {};

TEST_P(LayoutRoundTripTest, DumpThenPackGivesTheBytesBack) {
    const auto [group, order, sep] = GetParam();
    const EndKind kinds[] = {EndKind::File, EndKind::String, EndKind::Memory, EndKind::RichEdit};
    std::mt19937 rng(static_cast<std::uint32_t>(group * 100 + order * 10 + sep));
    int variant = 0;
    for (std::uint32_t perLine = 4; perLine <= 64; perLine += 1 + rng() % 4) {
        for (std::size_t size : {std::size_t(0), std::size_t(1 + rng() % 9), std::size_t(rng() % 5001)}) {
            ++variant;
            const HexLayout layout = Layout(group, order, perLine, sep);
            const std::string data = RandomBytes(size, rng());
            EndKind dumpFrom = kinds[variant % 4], dumpTo = kinds[(variant / 3) % 4];
            EndKind packFrom = kinds[(variant / 2) % 4], packTo = kinds[variant % 3];
            SCOPED_TRACE(Describe(layout) + ", " + std::to_string(size) + " bytes, dump " + Name(dumpFrom) + "->" +
                         Name(dumpTo) + ", pack " + Name(packFrom) + "->" + Name(packTo) + ", variant " +
                         std::to_string(variant));
            const std::string text = Dump(dumpFrom, dumpTo, data, layout, variant);
            ASSERT_EQ(text, ReferenceDump(data, layout));
            const std::string back = Pack(packFrom, packTo, text, order, variant);
            ASSERT_EQ(Hex(back), Hex(data));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, LayoutRoundTripTest,
                         ::testing::Combine(::testing::Values(1, 2, 4), ::testing::Values(0u, 1u),
                                            ::testing::Values(0u, 1u, 2u)));

// Sizes around multiples of the head buffer (8192) and of the stage buffers
// (1024), so that group, separator and line end fall on window edges.
class LargeInputTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(LargeInputTest, DumpMatchesReferenceAndPacksBack) {
    const std::size_t size = GetParam();
    const HexLayout layouts[] = {Layout(1, 0, 16, 0), Layout(2, 0, 7, 2), Layout(4, 1, 13, 1),
                                 Layout(4, 0, 64, 2), Layout(2, 1, 63, 0), Layout(1, 1, 5, 1)};
    int variant = static_cast<int>(size % 7);
    for (const HexLayout& layout : layouts) {
        ++variant;
        SCOPED_TRACE(Describe(layout) + ", variant " + std::to_string(variant));
        const std::string data = RandomBytes(size, static_cast<std::uint32_t>(size + variant));
        const std::string expected = ReferenceDump(data, layout);
        const EndKind to = variant % 2 ? EndKind::RichEdit : EndKind::File;
        const std::string text = Dump(EndKind::File, to, data, layout, variant);
        ASSERT_EQ(text.size(), expected.size());
        ASSERT_TRUE(text == expected) << "first difference at "
                                      << std::mismatch(text.begin(), text.end(), expected.begin()).first - text.begin();
        const EndKind from = variant % 2 ? EndKind::String : EndKind::RichEdit;
        ASSERT_TRUE(Pack(from, EndKind::File, text, layout.byteOrder, variant) == data);
    }
}

INSTANTIATE_TEST_SUITE_P(BufferEdges, LargeInputTest,
                         ::testing::Values(1023, 1024, 1025, 8191, 8192, 8193, 16384, 20000, 24575, 24576, 24577,
                                           33793, 65536, 100000));

// A file whose size is a multiple of the head buffer is known to have ended
// only when a read returns nothing, after its last group has been written;
// the line end held back for that group must still reach a control that
// takes the text through small buffers.
TEST(Dump, HeldBackLineEndReachesASlowControl) {
    for (std::size_t size : {8192u, 16384u, 24576u}) {
        for (const HexLayout& layout : {Layout(2, 1, 64, 0), Layout(1, 0, 8, 2), Layout(4, 0, 64, 1)}) {
            for (std::size_t buffer = 1; buffer <= 8; ++buffer) {
                const std::string data = RandomBytes(size, static_cast<std::uint32_t>(buffer));
                auto src = Endpoint::Source(EndKind::File, data);
                auto sink = Endpoint::Sink(EndKind::RichEdit, 0, {buffer});
                EXPECT_GE(RunDumpChain(src->stream(), layout, sink->stream()), 0);
                const std::string text = sink->Output(), expected = ReferenceDump(data, layout);
                EXPECT_EQ(text.size(), expected.size()) << Describe(layout) << ", " << size << " bytes, buffers of "
                                                        << buffer << ", ends " << Hex(text.substr(text.size() - 4));
            }
        }
    }
}
