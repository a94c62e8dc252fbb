// Reads the token stream and records, per text line, the nibble offset of
// the line's first digit, whether it holds a heading and its leading tabs.
// The gutter keeps one of these across runs and reads the records after.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pipeline/CStream.h"

struct LineRecord {
    std::uint32_t offset;  // nibbles before the line's first digit
    std::uint8_t heading;  // 1 when the line holds a heading mark
    std::uint8_t tabs;     // tab tokens at the start of the line
};

class CCalcBytePerLine : public CStream {
public:
    CCalcBytePerLine() : CStream(kEndpointStage) {}
    void Init() override;
    int Process() override;

    // The record array, owned by the caller; sizeBytes is its allocated size.
    void SetRecords(LineRecord* records, std::size_t sizeBytes);

    std::uint32_t capacity() const { return capacity_; }
    std::uint32_t lineIndex() const { return lineIndex_; }
    bool changed() const { return changed_ != 0; }

private:
    void EndLine();

    std::uint32_t capacity_ = 0;
    std::uint8_t inString_ = 0;
    int headingFlag_ = 0;
    std::uint8_t lineStart_ = 0;
    LineRecord* records_ = nullptr;
    std::size_t recordsSize_ = 0;
    int nibbleCount_ = 0;
    std::uint32_t lineIndex_ = 1;
    int changed_ = 0;
};
