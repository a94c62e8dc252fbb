#include "pipeline/CCalcBytePerLine.h"

void CCalcBytePerLine::SetRecords(LineRecord* records, std::size_t sizeBytes) {
    records_ = records;
    recordsSize_ = sizeBytes;
}

void CCalcBytePerLine::Init() {
    lineStart_ = 1;
    lineIndex_ = 1;
    inString_ = 0;
    nibbleCount_ = 0;
    changed_ = 0;
    headingFlag_ = 0;
    capacity_ = static_cast<std::uint32_t>(recordsSize_ / sizeof(LineRecord));
    if (records_ && capacity_ > 0) records_[0].tabs = 0;
    RequestPadding(0, 16);
}

// Closes the current line: the record after it gets the offset at which the
// next line starts, and the current line gets its heading flag.
void CCalcBytePerLine::EndLine() {
    inString_ = 0;
    lineStart_ = 1;
    if (lineIndex_ >= capacity_) return;
    nibbleCount_ = (nibbleCount_ + 1) & ~1;
    LineRecord& current = records_[lineIndex_ - 1];
    if (current.heading != headingFlag_) changed_ = 1;
    current.heading = static_cast<std::uint8_t>(headingFlag_);
    headingFlag_ = 0;
    LineRecord& following = records_[lineIndex_];
    if (following.offset != static_cast<std::uint32_t>(nibbleCount_)) changed_ = 1;
    following.offset = static_cast<std::uint32_t>(nibbleCount_);
    following.tabs = 0;
    ++lineIndex_;
}

int CCalcBytePerLine::Process() {
    while (inCursor < inEnd) {
        std::uint8_t t = *inCursor;
        if (inString_) {
            if (t == 2) {
                if (inCursor + 1 >= inEnd) break;  // the escaped byte comes with more input
                nibbleCount_ += 2;
                inCursor += 2;
                continue;
            }
            ++inCursor;
            if (t == 3) {
                inString_ = 0;
            } else {
                nibbleCount_ += 2;
            }
            continue;
        }
        ++inCursor;
        if (lineStart_ && t == 6) {
            if (records_ && lineIndex_ - 1 < capacity_) records_[lineIndex_ - 1].tabs++;
        } else {
            lineStart_ = 0;
        }
        switch (t) {
        case 0:
        case 4:
            EndLine();
            break;
        case 1:
            // A quote cuts the number before it, which the packer then
            // completes to whole bytes.
            inString_ = 1;
            nibbleCount_ = (nibbleCount_ + 1) & ~1;
            break;
        case 2:
        case 3:
            break;
        case 5:
        case 6:
        case 7:
            nibbleCount_ = (nibbleCount_ + 1) & ~1;
            break;
        case 16:
            headingFlag_ = 1;
            nibbleCount_ = (nibbleCount_ + 1) & ~1;
            break;
        default:
            ++nibbleCount_;
            break;
        }
    }
    return 0;
}
