// Arbitrary bytes as an edited text, through the save chain, the line-record
// chain and both comment chains, each read once whole from a string and
// once from a control that hands it out in chunks drawn from the input: the
// results must not depend on where the chunks end. The same bytes as a file
// must come back unchanged from the hexadecimal text of a layout drawn from
// the input.
//
// Input: six bytes of settings, then the text.
//   0, 1  chunk sizes of the control's stream-out
//   2     buffer size of the control's stream-in
//   3     group size, byte order and separator of the dump
//   4     bytes per line of the dump
//   5     capacity of the line-record array
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestEndpoints.h"
#include "pipeline/CCalcBytePerLine.h"
#include "pipeline/CConvClrComment.h"
#include "pipeline/CConvSetComment.h"
#include "pipeline/CPackBinary.h"
#include "pipeline/Chains.h"
#include "session/Crc32.h"

using namespace pramel_test;

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

struct Settings {
    std::vector<std::size_t> chunks;
    std::vector<std::size_t> buffers;
    HexLayout layout;
    std::size_t capacity;
};

std::string Pack(EndKind from, const std::string& text, std::uint32_t order, const Settings& s) {
    auto src = Endpoint::Source(from, text, s.chunks);
    auto sink = Endpoint::Sink(EndKind::String);
    Require(RunPackChain(src->stream(), order, sink->stream()) >= 0, "save chain failed");
    return sink->Output();
}

template <class Stage>
std::string Comment(EndKind from, const std::string& text, const Settings& s) {
    auto src = Endpoint::Source(from, text, s.chunks);
    auto sink = Endpoint::Sink(EndKind::String);
    Stage stage;
    Link(src->stream(), stage);
    Link(stage, sink->stream());
    Require(RunChain(&src->stream()) >= 0, "comment chain failed");
    return sink->Output();
}

struct Lines {
    std::vector<LineRecord> records;
    std::uint32_t lineIndex;
    bool changedAgain;  // the changed flag of a second run over the same text
};

bool SameRecords(const Lines& a, const Lines& b) {
    if (a.lineIndex != b.lineIndex || a.records.size() != b.records.size()) return false;
    for (std::size_t i = 0; i < a.records.size(); ++i)
        if (a.records[i].offset != b.records[i].offset || a.records[i].heading != b.records[i].heading ||
            a.records[i].tabs != b.records[i].tabs)
            return false;
    return true;
}

Lines Records(EndKind from, const std::string& text, const Settings& s) {
    Lines lines{std::vector<LineRecord>(s.capacity, LineRecord{0, 0, 0}), 0, false};
    CCalcBytePerLine calc;
    calc.SetRecords(lines.records.data(), lines.records.size() * sizeof(LineRecord));
    for (int run = 0; run < 2; ++run) {
        auto src = Endpoint::Source(from, text, s.chunks);
        CPackBinary lexer;
        Link(src->stream(), lexer);
        Link(lexer, calc);
        Require(RunChain(&src->stream()) >= 0, "line-record chain failed");
        if (run == 0) lines.lineIndex = calc.lineIndex();
    }
    lines.changedAgain = calc.changed();
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    Settings s;
    s.chunks = {1 + data[0] % 97u, data[1] >= 0xF0 ? kWhole : 1 + data[1] * 29u};
    s.buffers = {data[2] >= 0xF0 ? 4096 : 1 + data[2] % 13u};
    const int groups[] = {1, 2, 4};
    s.layout.groupSize = groups[data[3] % 3];
    s.layout.byteOrder = (data[3] >> 2) & 1;
    s.layout.separatorCode = (data[3] >> 3) % 3;
    s.layout.bytesPerLine = 4 + data[4] % 61u;
    s.capacity = 1 + data[5] % 8u;
    const std::string text(reinterpret_cast<const char*>(data) + 6, size - 6);

    for (std::uint32_t order : {0u, 1u}) {
        const std::string packed = Pack(EndKind::String, text, order, s);
        Require(Pack(EndKind::RichEdit, text, order, s) == packed, "save chain depends on chunking");
        auto src = Endpoint::Source(EndKind::File, text);
        Require(PackedTextCrc(src->stream(), order) == session::Crc32Update(0, packed.data(), packed.size()),
                "CRC differs from the saved bytes");
    }

    const Lines whole = Records(EndKind::String, text, s);
    Require(SameRecords(whole, Records(EndKind::RichEdit, text, s)), "line records depend on chunking");
    Require(!whole.changedAgain, "a second run over the same text reports a change");

    const std::string set = Comment<CConvSetComment>(EndKind::String, text, s);
    Require(Comment<CConvSetComment>(EndKind::RichEdit, text, s) == set, "comment-out depends on chunking");
    const std::string clr = Comment<CConvClrComment>(EndKind::String, text, s);
    Require(Comment<CConvClrComment>(EndKind::RichEdit, text, s) == clr, "uncomment depends on chunking");

    // The bytes as a file: dump into a control, pack back.
    auto file = Endpoint::Source(EndKind::File, text);
    auto view = Endpoint::Sink(EndKind::RichEdit, 0, s.buffers);
    Require(RunDumpChain(file->stream(), s.layout, view->stream()) >= 0, "dump chain failed");
    const std::string dumped = view->Output();
    Require(dumped == ReferenceDump(text, s.layout), "dump differs from the layout");
    Require(Pack(EndKind::RichEdit, dumped, s.layout.byteOrder, s) == text, "dump then pack changed the bytes");
    return 0;
}
