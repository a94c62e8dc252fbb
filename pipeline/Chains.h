// The chains that more than one caller runs, built on the stack of the
// operation: file bytes to hexadecimal text, text to bytes, text to CRC.
#pragma once

#include <cstdint>
#include <string>

#include "pipeline/CStream.h"
#include "pipeline/Ports.h"

struct HexLayout {
    int groupSize = 1;                 // 1, 2 or 4
    std::uint32_t byteOrder = 0;       // nonzero: big-endian
    std::uint32_t bytesPerLine = 16;   // 4 to 64
    std::uint32_t separatorCode = 0;   // 0 space, 1 tab, 2 comma
};

// source -> CConvHex2Char -> sink. Returns RunChain's result.
int RunDumpChain(CStream& source, const HexLayout& layout, CStream& sink);

// source -> CPackBinary -> CFreeEndian -> CConvChar2Str -> CConvChar2Hex -> sink:
// the document's save chain.
int RunPackChain(CStream& source, std::uint32_t byteOrder, CStream& sink);

// The save chain ending in a CRC stage: the CRC-32 of the bytes the text
// packs to.
std::uint32_t PackedTextCrc(CStream& source, std::uint32_t byteOrder);

// True when the bytes the text file packs to have the expected CRC-32.
bool VerifyTextCrc(IByteFile& textFile, std::uint32_t byteOrder, std::uint32_t expectedCrc);
bool VerifyTextCrc(const std::string& textFilePath, std::uint32_t byteOrder, std::uint32_t expectedCrc);

// String helpers for the comment commands and tests: string -> stage -> string.
std::string RunStringStage(CStream& stage, const std::string& text);
