// The text grammar as the save chain packs it: numbers and their byte
// order, strings and escapes, comments, headings, code page 932 characters
// and line ends; each text read whole, in small chunks and across the edge
// of the head buffer.
#include <gtest/gtest.h>

#include <string>

#include "TestEndpoints.h"
#include "pipeline/CConvChar2Hex.h"
#include "pipeline/CConvChar2Str.h"
#include "pipeline/CPackBinary.h"
#include "pipeline/Chains.h"

using namespace pramel_test;

namespace {

struct PackCase {
    const char* name;
    std::string text;
    const char* little;
    const char* big;  // null: same as little
};

const PackCase kCases[] = {
    {"free width numbers", "1234 56 789", "34 12 56 89 07", "12 34 56 07 89"},
    {"one long number", "12345678", "78 56 34 12", "12 34 56 78"},
    {"single digit", "5", "05", nullptr},
    {"separated digits", "1 2 3", "01 02 03", nullptr},
    {"lower case", "abcd eF", "CD AB EF", "AB CD EF"},
    {"17 digits", "0123456789ABCDEF0", "EF CD AB 89 67 45 23 01 00", "01 23 45 67 89 AB CD EF 00"},
    {"21 digits", "0123456789abcdef01234", "EF CD AB 89 67 45 23 01 34 12 00", "01 23 45 67 89 AB CD EF 00 12 34"},
    {"unknown characters separate", "12x34,56.78>9A]BC", "12 34 56 78 9A BC", nullptr},
    {"string after digits", "12\"A\"", "12 41", nullptr},
    {"string after odd digits", "123\"A\"", "23 01 41", "01 23 41"},
    {"digits after string", "\"AB\"1 2", "41 42 01 02", nullptr},
    {"empty string", "\"\"12", "12", nullptr},
    {"string ends at line end", "\"A;<\r\n12", "41 3B 3C 12", nullptr},
    {"string with brackets", "\"[x]<y>;\"", "5B 78 5D 3C 79 3E 3B", nullptr},
    {"escape of the escape", "\"\x02\x02Z\"", "02 5A", nullptr},
    {"escape of a plain byte", "\"\x02Z\"", "5A", nullptr},
    {"escape of string end", "\"\x02\x03Z\" 12", "03 5A 12", nullptr},
    {"double-byte string", "\"\x95\x5C\x81\x40\"", "95 5C 81 40", nullptr},
    {"comment", "<12 34>56", "56", nullptr},
    {"comment joins digits", "12<c>34", "34 12", "12 34"},
    {"comment ends at line end", "<12\r\n34", "34", nullptr},
    {"either bracket closes", "[12>34 <56]78", "34 78", nullptr},
    {"semicolon to line end", "12;34 ] > 56\r\n78", "12 78", nullptr},
    {"heading", "[Head 12]\r\n34\r\n[x]", "34", nullptr},
    {"only comments", "<a>\r\n;b\r\n[c]\r\n", "", nullptr},
    {"line ends", "12\r34\n56\r\n78\r\r\n9", "12 34 56 78 09", nullptr},
    {"tabs", "12\t34\t\t5", "12 34 05", nullptr},
    {"ideographic space", "12\x81\x40" "34", "12 34", nullptr},
    {"double-byte character", "12\x88\x9F" "34", "12 34", nullptr},
    {"trail byte like a digit", "1\x82\x41" "2\x83\x62", "01 02", nullptr},
    {"trail byte like [", "12\x81\x5B" "34", "12 34", nullptr},
    {"trail byte like ] in heading", "[\x81\x5D" "12]34", "34", nullptr},
    {"trail byte like ] in comment", "<\x81\x5D" "12>34", "34", nullptr},
    {"trail byte like backslash", "\x95\x5C" "12", "12", nullptr},
    {"no final line end", "AB\r\nCD", "AB CD", nullptr},
};

void PrintTo(const PackCase& c, std::ostream* os) { *os << c.name; }

std::string PackWith(EndKind from, const std::string& text, std::uint32_t order, std::vector<std::size_t> chunks) {
    auto src = Endpoint::Source(from, text, std::move(chunks));
    auto sink = Endpoint::Sink(EndKind::String);
    EXPECT_GE(RunPackChain(src->stream(), order, sink->stream()), 0);
    return sink->Output();
}

}  // namespace

class PackGrammarTest : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackGrammarTest, PacksInBothByteOrders) {
    const PackCase& c = GetParam();
    for (std::uint32_t order : {0u, 1u}) {
        const std::string expected = Hex(Bytes(order == 0 || !c.big ? c.little : c.big));
        SCOPED_TRACE(order ? "big-endian" : "little-endian");
        EXPECT_EQ(Hex(PackWith(EndKind::String, c.text, order, {kWhole})), expected);
        for (std::vector<std::size_t> chunks : {std::vector<std::size_t>{1}, {2}, {3}, {7}, {1, 2}})
            EXPECT_EQ(Hex(PackWith(EndKind::RichEdit, c.text, order, chunks)), expected) << "chunks of " << chunks[0];
        // The text put so that every one of its positions meets the end of
        // the first head window once; a comment line in front moves it.
        for (std::size_t j = 0; j <= c.text.size(); ++j) {
            const std::string text = ";" + std::string(8192 - j - 3, 'x') + "\r\n" + c.text;
            EXPECT_EQ(Hex(PackWith(EndKind::String, text, order, {kWhole})), expected) << "split at " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, PackGrammarTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

// The character pane packs without the byte-order stage: digits are taken
// in the order written, a digit without a partner at the end is dropped.
TEST(PackGrammar, CharacterPaneChainTakesDigitsInOrder) {
    const struct {
        std::string text;
        const char* bytes;
    } cases[] = {
        {"1 2", "12"},     {"123", "12"},          {"12 34 5", "12 34"}, {"\"AB\"", "41 42"},
        {"1\"A\"", "14"}, {"<c>12;3", "12"}, {"\"\x02\x03\"", "03"},
    };
    for (const auto& c : cases) {
        std::string in = c.text, out;
        CStream src(kStringStream, &in), sink(kStringStream, &out);
        CPackBinary lexer;
        CConvChar2Str strings;
        CConvChar2Hex pairs;
        Link(src, lexer);
        Link(lexer, strings);
        Link(strings, pairs);
        Link(pairs, sink);
        EXPECT_GE(RunChain(&src), 0);
        EXPECT_EQ(Hex(out), Hex(Bytes(c.bytes))) << c.text;
    }
}
