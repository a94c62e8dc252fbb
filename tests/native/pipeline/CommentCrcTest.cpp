// Commenting lines out and in, and the CRC-32 of the bytes a text packs to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "TestEndpoints.h"
#include "pipeline/CConvClrComment.h"
#include "pipeline/CConvCrc32.h"
#include "pipeline/CConvSetComment.h"
#include "pipeline/Chains.h"
#include "session/Crc32.h"

using namespace pramel_test;

namespace {

template <class Stage>
std::string Through(const std::string& text, EndKind from = EndKind::String, std::vector<std::size_t> chunks = {kWhole}) {
    auto src = Endpoint::Source(from, text, std::move(chunks));
    auto sink = Endpoint::Sink(EndKind::String);
    Stage stage;
    Link(src->stream(), stage);
    Link(stage, sink->stream());
    EXPECT_GE(RunChain(&src->stream()), 0);
    return sink->Output();
}

struct CommentCase {
    std::string in, out;
};

// Checks one stage on each case alone, in small chunks, through the string
// helper, and on the cases repeated past several buffer windows (so that
// double-byte characters and line ends fall on window edges).
template <class Stage>
void CheckCases(const std::vector<CommentCase>& cases) {
    for (const CommentCase& c : cases) {
        SCOPED_TRACE("\"" + c.in + "\"");
        Stage stage;
        EXPECT_EQ(RunStringStage(stage, c.in), c.out);
        for (std::vector<std::size_t> chunks : {std::vector<std::size_t>{1}, {2}, {3}, {5}})
            EXPECT_EQ(Through<Stage>(c.in, EndKind::RichEdit, chunks), c.out) << "chunks of " << chunks[0];
        for (std::size_t shift : {0u, 1u}) {
            std::string in = shift ? "x\r\n" : "", out = Through<Stage>(in);
            while (in.size() < 30000) {
                in += c.in + "\r\n";
                out += c.out + "\r\n";
            }
            EXPECT_TRUE(Through<Stage>(in) == out) << "repeated, shift " << shift;
            EXPECT_TRUE(Through<Stage>(in, EndKind::RichEdit, {4093}) == out) << "repeated, shift " << shift;
        }
    }
}

// A line whose brackets are balanced: digits, separators, double-byte
// characters, quotes, semicolons, headings and nested "<...>".
std::string RandomLine(std::mt19937& rng, int depth = 0) {
    static const char* const items[] = {"12", "A", " ", "\t", "\x81\x40", "\x95\x5C", "\x83\x5B", "\"", ";", "[", "]"};
    std::string line;
    for (int n = static_cast<int>(rng() % 6); n > 0; --n) {
        if (depth < 2 && rng() % 5 == 0) line += "<" + RandomLine(rng, depth + 1) + ">";
        else line += items[rng() % (sizeof items / sizeof *items)];
    }
    return line;
}

}  // namespace

TEST(Comments, SetEnclosesEveryNonEmptyLine) {
    CheckCases<CConvSetComment>({
        {"12 34", "<12 34>"},
        {"12 34\r\n", "<12 34>\r\n"},
        {"a\r\n\r\nb\n\nc\r", "<a>\r\n\r\n<b>\n\n<c>\r"},
        {"<x>", "<<x>>"},
        {" \t", "< \t>"},
        {"\x81\x40\x95\x5C" "1", "<\x81\x40\x95\x5C" "1>"},
        {"", ""},
    });
}

TEST(Comments, ClearRemovesOnlyALeadingEnclosure) {
    CheckCases<CConvClrComment>({
        {"<12 34>", "12 34"},
        {"<a<b>c>d", "a<b>cd"},
        {" <x>", " <x>"},
        {"\t<x>", "\t<x>"},
        {"<x>\r\n<y>\n<z>\r", "x\r\ny\nz\r"},
        {"<x", "x"},
        {">x<y>", ">x<y>"},
        {"<<x>>", "<x>"},
        {"<x><y>", "x<y>"},
        {"<\x95\x5C>\r\n<\x81\x40>", "\x95\x5C\r\n\x81\x40"},
        {"\r\n\r\n", "\r\n\r\n"},
    });
}

// Commenting out and then in gives every line back, double-byte characters,
// empty lines and lines that already start with "<" included.
TEST(Comments, SetThenClearRestoresBalancedLines) {
    std::mt19937 rng(2024);
    const char* const ends[] = {"\r\n", "\n", "\r\n", "\r"};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int lines = round < 30 ? 1 + static_cast<int>(rng() % 8) : 3000;
        for (int i = 0; i < lines; ++i) text += RandomLine(rng) + (i + 1 < lines || rng() % 2 ? ends[rng() % 4] : "");
        const std::string commented = Through<CConvSetComment>(text, EndKind::RichEdit, {1 + rng() % 9});
        ASSERT_EQ(Through<CConvClrComment>(commented, EndKind::RichEdit, {1 + rng() % 9}), text) << Hex(text);
    }
}

TEST(Crc, StageMatchesTheSharedCrc) {
    for (std::size_t size : {0u, 9u, 1024u, 8193u, 100000u}) {
        std::string data = size == 9 ? std::string("123456789") : RandomBytes(size, static_cast<std::uint32_t>(size));
        auto src = Endpoint::Source(size % 2 ? EndKind::File : EndKind::RichEdit, data, {333});
        CConvCrc32 crc;
        CStream discard(kDiscardStream, nullptr);
        Link(src->stream(), crc);
        Link(crc, discard);
        EXPECT_GE(RunChain(&src->stream()), 0);
        EXPECT_EQ(crc.crc(), session::Crc32Update(0, data.data(), data.size())) << size;
        if (size == 9) {
            EXPECT_EQ(crc.crc(), 0x2DFD2D88u);
        }
    }
}

TEST(Crc, PackedTextCrc) {
    const struct {
        std::string text;
        std::string littleBytes, bigBytes;
    } cases[] = {
        {"", "", ""},
        {"<only comments>\r\n;here 12\r\n[and a heading 34]", "", ""},
        {"1234 56 789\r\n\"AB\"", Bytes("34 12 56 89 07 41 42"), Bytes("12 34 56 07 89 41 42")},
    };
    for (const auto& c : cases) {
        for (std::uint32_t order : {0u, 1u}) {
            const std::string& bytes = order ? c.bigBytes : c.littleBytes;
            auto src = Endpoint::Source(EndKind::RichEdit, c.text, {3});
            EXPECT_EQ(PackedTextCrc(src->stream(), order), session::Crc32Update(0, bytes.data(), bytes.size()))
                << c.text << ", order " << order;
        }
    }
}

// The check of a template's text file against the CRC of the bytes the
// template emitted, over a file on disk and over a byte file in memory.
TEST(Crc, VerifyTextCrc) {
    const std::string data = RandomBytes(30000, 3);
    HexLayout layout;
    layout.groupSize = 4;
    layout.byteOrder = 1;
    const std::string text = "[file]\r\n" + ReferenceDump(data, layout);
    const std::uint32_t crc = session::Crc32Update(0, data.data(), data.size());

    const auto path = std::filesystem::temp_directory_path() /
                      ("pramel-verify-" + std::to_string(std::random_device{}()) + ".txt");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    EXPECT_TRUE(VerifyTextCrc(path.string(), 1, crc));
    EXPECT_FALSE(VerifyTextCrc(path.string(), 1, crc ^ 1));
    EXPECT_FALSE(VerifyTextCrc(path.string(), 0, crc));  // the other byte order reorders the groups
    std::filesystem::remove(path);

    MemoryFile file(text);
    EXPECT_TRUE(VerifyTextCrc(file, 1, crc));
    MemoryFile empty;
    EXPECT_TRUE(VerifyTextCrc(empty, 0, 0));
    MemoryFile again(text);
    EXPECT_FALSE(VerifyTextCrc(again, 1, 0));
}
