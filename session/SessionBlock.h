// The record that the editor and the template runtime library share through
// the named mapping "VeldaShare". Both deliverables compile this one
// definition; every field offset is pinned so the two sides cannot drift.
#pragma once

#include <cstddef>
#include <cstdint>

namespace session {

constexpr std::uint32_t kBlockSize = 1524;
constexpr const char kMappingName[] = "VeldaShare";
constexpr const wchar_t kMappingNameW[] = L"VeldaShare";

// Widths of the text fields, terminating zero included.
constexpr std::size_t kFileNameWidth = 260;
constexpr std::size_t kTemplateNameWidth = 100;
constexpr std::size_t kTemplateExtendWidth = 256;
constexpr std::size_t kEditorNameWidth = 100;
constexpr std::size_t kCommentWidth = 512;
constexpr std::size_t kHelpUriWidth = 256;

// Status value the library leaves after a fatal error report.
constexpr std::int32_t kStatusFatalError = -100;

// Bit 0 of quietFlags: leave annotation text out of the output.
constexpr std::uint16_t kQuietAnnotations = 0x0001;

struct SessionBlock {
    std::uint32_t blockSize;
    char fileName[kFileNameWidth];
    std::int32_t lineBytes;
    std::int16_t separator;
    std::uint16_t quietFlags;
    std::uint16_t dataFormat;
    std::uint16_t reserved274;  // alignment gap before status; carries nothing
    std::int32_t status;
    std::int32_t errorOffset;
    char templateName[kTemplateNameWidth];
    char templateExtend[kTemplateExtendWidth];
    std::int16_t version;
    char editorName[kEditorNameWidth];
    char comment[kCommentWidth];
    char helpUri[kHelpUriWidth];
    std::int16_t reversible;
    std::uint32_t fileSize;
    std::uint32_t outputBytes;
    std::uint32_t outputCrc;
};

static_assert(sizeof(SessionBlock) == kBlockSize, "SessionBlock must be 1524 bytes");
static_assert(offsetof(SessionBlock, blockSize) == 0);
static_assert(offsetof(SessionBlock, fileName) == 4);
static_assert(offsetof(SessionBlock, lineBytes) == 264);
static_assert(offsetof(SessionBlock, separator) == 268);
static_assert(offsetof(SessionBlock, quietFlags) == 270);
static_assert(offsetof(SessionBlock, dataFormat) == 272);
static_assert(offsetof(SessionBlock, status) == 276);
static_assert(offsetof(SessionBlock, errorOffset) == 280);
static_assert(offsetof(SessionBlock, templateName) == 284);
static_assert(offsetof(SessionBlock, templateExtend) == 384);
static_assert(offsetof(SessionBlock, version) == 640);
static_assert(offsetof(SessionBlock, editorName) == 642);
static_assert(offsetof(SessionBlock, comment) == 742);
static_assert(offsetof(SessionBlock, helpUri) == 1254);
static_assert(offsetof(SessionBlock, reversible) == 1510);
static_assert(offsetof(SessionBlock, fileSize) == 1512);
static_assert(offsetof(SessionBlock, outputBytes) == 1516);
static_assert(offsetof(SessionBlock, outputCrc) == 1520);

// dataFormat: bit 0 byte order (1 big-endian), bits 1 to 7 data unit size.
constexpr std::uint16_t kBigEndianBit = 0x0001;

inline unsigned DataUnitSize(const SessionBlock& block) {
    return (block.dataFormat >> 1) & 0x7F;
}
inline bool IsBigEndian(const SessionBlock& block) {
    return (block.dataFormat & kBigEndianBit) != 0;
}
// Sets the byte order and unit size and keeps bits 8 to 15 as they were.
void SetDataFormat(SessionBlock& block, unsigned unitSize, bool bigEndian);

// The editor's master copy at start-up: zero except blockSize, 16 bytes per
// line, space separator and little-endian single bytes.
SessionBlock MakeMasterBlock();

// Bounded copy into a text field: at most width - 1 bytes and a terminating
// zero. A double-byte character of code page 932 is never cut in half.
void CopyTextField(char* field, std::size_t width, const char* text, std::size_t length);

}  // namespace session
