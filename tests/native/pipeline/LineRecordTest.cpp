// Per-line records for the offset gutter: nibble offsets, heading flags,
// leading tabs, the capacity of the record array and the changed flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestEndpoints.h"
#include "pipeline/CCalcBytePerLine.h"
#include "pipeline/CPackBinary.h"

using namespace pramel_test;

namespace {

struct Rec {
    std::uint32_t offset;
    int heading;
    int tabs;
};

// Runs text through the lexer into calc over records, which must hold
// exactly the array the stage may use (ASan watches its end).
void Compute(CCalcBytePerLine& calc, std::vector<LineRecord>& records, const std::string& text,
             EndKind from = EndKind::String, std::vector<std::size_t> chunks = {kWhole}) {
    auto src = Endpoint::Source(from, text, std::move(chunks));
    CPackBinary lexer;
    calc.SetRecords(records.data(), records.size() * sizeof(LineRecord));
    Link(src->stream(), lexer);
    Link(lexer, calc);
    EXPECT_GE(RunChain(&src->stream()), 0);
}

std::string Show(const std::vector<LineRecord>& records, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n && i < records.size(); ++i)
        s += "{" + std::to_string(records[i].offset) + "," + std::to_string(records[i].heading) + "," +
             std::to_string(records[i].tabs) + "} ";
    return s;
}

const std::vector<std::vector<std::size_t>> kChunkings = {{kWhole}, {1}, {2, 3}, {7}};

}  // namespace

TEST(LineRecords, OffsetsHeadingsAndTabs) {
    const struct {
        const char* name;
        std::string text;
        std::vector<Rec> expected;  // the first records
    } cases[] = {
        {"plain lines", "12 34\r\n56\r\n", {{0, 0, 0}, {4, 0, 0}, {6, 0, 0}, {6, 0, 0}}},
        {"line ends", "1\r2\n3\r\n4\r\r\n5", {{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {6, 0, 0}, {8, 0, 0}, {8, 0, 0}, {10, 0, 0}}},
        {"headings", "[A]\r\n12\r\n[B] 34\r\n5", {{0, 1, 0}, {0, 0, 0}, {2, 1, 0}, {4, 0, 0}, {6, 0, 0}}},
        {"leading tabs", "\t\t12\r\n\t 3\t4\r\n5\r\n\t\t\t", {{0, 0, 2}, {2, 0, 1}, {6, 0, 0}, {8, 0, 3}, {8, 0, 0}}},
        {"odd and long numbers", "123 4\r\n0123456789ABCDEF0\r\n1", {{0, 0, 0}, {6, 0, 0}, {24, 0, 0}, {26, 0, 0}}},
        {"strings", "\"AB\" 1\r\n\"\x95\x5C\"\r\n\"\x02\x03Z\"\r\n\"AB\r\nx",
         {{0, 0, 0}, {6, 0, 0}, {10, 0, 0}, {14, 0, 0}, {18, 0, 0}, {18, 0, 0}}},
        {"comments", "<12 34> 5;67\r\n8\r\n[9\r\n<0>", {{0, 0, 0}, {2, 0, 0}, {4, 1, 0}, {4, 0, 0}, {4, 0, 0}}},
        {"odd number before a quote", "1\"A\"2\r\n3", {{0, 0, 0}, {6, 0, 0}, {8, 0, 0}}},
        {"double-byte text", "1\x81\x40" "2\x95\x5C" "3\r\n\x83\x5B" "4", {{0, 0, 0}, {6, 0, 0}, {8, 0, 0}}},
    };
    for (const auto& c : cases) {
        for (std::size_t v = 0; v < kChunkings.size(); ++v) {
            SCOPED_TRACE(std::string(c.name) + ", variant " + std::to_string(v));
            CCalcBytePerLine calc;
            std::vector<LineRecord> records(12, LineRecord{0, 0, 0});
            Compute(calc, records, c.text, v ? EndKind::RichEdit : EndKind::String, kChunkings[v]);
            std::vector<LineRecord> expected = records;
            for (std::size_t i = 0; i < c.expected.size(); ++i)
                expected[i] = LineRecord{c.expected[i].offset, static_cast<std::uint8_t>(c.expected[i].heading),
                                         static_cast<std::uint8_t>(c.expected[i].tabs)};
            EXPECT_EQ(Show(records, c.expected.size()), Show(expected, c.expected.size()));
        }
    }
}

// The text of a dump: line n starts at n lines' worth of bytes, at every
// chunking, until the records run out.
TEST(LineRecords, DumpTextLinesStartAtWholeLines) {
    int variant = 0;
    for (std::size_t size : {100u, 8192u, 20001u}) {
        for (int group : {1, 2, 4}) {
            for (std::uint32_t perLine : {4u, 7u, 16u, 64u}) {
                ++variant;
                HexLayout layout;
                layout.groupSize = group;
                layout.bytesPerLine = perLine;
                layout.separatorCode = static_cast<std::uint32_t>(variant % 3);
                const std::string data = RandomBytes(size, static_cast<std::uint32_t>(variant));
                const std::size_t lineLen = (perLine + group - 1) / group * group;
                const std::size_t lines = (size + lineLen - 1) / lineLen;
                SCOPED_TRACE(std::to_string(size) + " bytes, group " + std::to_string(group) + ", " +
                             std::to_string(perLine) + " per line");
                CCalcBytePerLine calc;
                std::vector<LineRecord> records(lines + 4, LineRecord{0, 0, 0});
                Compute(calc, records, ReferenceDump(data, layout), EndKind::RichEdit,
                        kChunkings[variant % kChunkings.size()]);
                for (std::size_t n = 0; n < records.size(); ++n) {
                    ASSERT_EQ(records[n].offset, 2 * std::min(n * lineLen, size)) << "record " << n;
                    ASSERT_EQ(records[n].heading + records[n].tabs, 0) << "record " << n;
                }
            }
        }
    }
}

// Lines beyond the array are counted but not written; a one-record array
// keeps only the first line.
TEST(LineRecords, CapacityLimitsTheRecords) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "\t12 3\r\n";
    for (std::size_t capacity : {1u, 2u, 4u, 299u, 300u, 301u}) {
        SCOPED_TRACE(capacity);
        CCalcBytePerLine calc;
        std::vector<LineRecord> records(capacity, LineRecord{0, 0, 0});
        Compute(calc, records, text, EndKind::RichEdit, {7});
        EXPECT_EQ(calc.lineIndex(), capacity);
        for (std::size_t n = 0; n < capacity; ++n) ASSERT_EQ(records[n].offset, 4 * n) << "record " << n;
        if (capacity > 1) {
            EXPECT_EQ(records[0].tabs, 1);
        }
    }
}

// The gutter repaints only when the line structure changed: offsets or
// headings, not digit values or comment texts.
TEST(LineRecords, ChangedFlagAcrossRuns) {
    const struct {
        std::string before, after;
        bool changed;
    } cases[] = {
        {"12\r\n34", "12\r\n34", false},
        {"12\r\n34", "AB\r\nCD", false},
        {"12 <x>\r\n34", "12 <longer>\r\n34", false},
        {"12\r\n34", "123\r\n34", true},
        {"12\r\n34", "[h]12\r\n34", true},
        {"[h]12\r\n34", "12\r\n34", true},
        {"12\r\n34", "12\r\n34\r\n56", true},
        {"12\r\n34\r\n56", "12\r\n34", true},
        {"12\r\n34", "12\r\n\r\n34", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before + " -> " + c.after);
        CCalcBytePerLine calc;
        std::vector<LineRecord> records(16, LineRecord{0, 0, 0});
        Compute(calc, records, c.before);
        EXPECT_TRUE(calc.changed());  // the first run fills a zeroed array
        Compute(calc, records, c.after, EndKind::RichEdit, {1});
        EXPECT_EQ(calc.changed(), c.changed);
    }
}
