#include "pipeline/Chains.h"

#include "pipeline/ByteFiles.h"
#include "pipeline/CConvChar2Hex.h"
#include "pipeline/CConvChar2Str.h"
#include "pipeline/CConvCrc32.h"
#include "pipeline/CConvHex2Char.h"
#include "pipeline/CFreeEndian.h"
#include "pipeline/CPackBinary.h"

int RunDumpChain(CStream& source, const HexLayout& layout, CStream& sink) {
    CConvHex2Char hex;
    hex.groupSize = layout.groupSize;
    hex.byteOrder = layout.byteOrder ? 1 : 0;
    hex.bytesPerLine = layout.bytesPerLine;
    hex.separatorCode = layout.separatorCode;
    Link(source, hex);
    Link(hex, sink);
    return RunChain(&source);
}

namespace {

// The packing stages of the save chain, linked between a source and a sink.
struct PackStages {
    CPackBinary lexer;
    CFreeEndian numbers;
    CConvChar2Str strings;
    CConvChar2Hex bytes;

    PackStages(CStream& source, std::uint32_t byteOrder, CStream& sink) {
        numbers.byteOrder = byteOrder;
        Link(source, lexer);
        Link(lexer, numbers);
        Link(numbers, strings);
        Link(strings, bytes);
        Link(bytes, sink);
    }
};

}  // namespace

int RunPackChain(CStream& source, std::uint32_t byteOrder, CStream& sink) {
    PackStages stages(source, byteOrder, sink);
    return RunChain(&source);
}

std::uint32_t PackedTextCrc(CStream& source, std::uint32_t byteOrder) {
    CConvCrc32 crc;
    CStream discard(kDiscardStream);
    Link(crc, discard);
    PackStages stages(source, byteOrder, crc);
    RunChain(&source);
    return crc.crc();
}

bool VerifyTextCrc(IByteFile& textFile, std::uint32_t byteOrder, std::uint32_t expectedCrc) {
    CStream source(kFileStream, &textFile);
    return PackedTextCrc(source, byteOrder) == expectedCrc;
}

bool VerifyTextCrc(const std::string& textFilePath, std::uint32_t byteOrder, std::uint32_t expectedCrc) {
    auto file = OsByteFile::Open(textFilePath, OsByteFile::Mode::Read);
    return VerifyTextCrc(*file, byteOrder, expectedCrc);
}

std::string RunStringStage(CStream& stage, const std::string& text) {
    std::string input = text;
    std::string output;
    CStream source(kStringStream, &input);
    CStream sink(kStringStream, &output);
    Link(source, stage);
    Link(stage, sink);
    RunChain(&source);
    return output;
}
