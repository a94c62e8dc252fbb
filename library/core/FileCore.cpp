#include "library/core/FileCore.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "library/core/CharacterRenderer.h"
#include "library/core/FormatParser.h"
#include "library/core/HexLineWriter.h"
#include "library/core/HexText.h"
#include "library/core/Texts.h"
#include "session/Crc32.h"

namespace velda {
namespace {

// Hexadecimal lines read the file in blocks of this size; it is a multiple
// of every unit size, so a block always holds whole units.
constexpr std::uint64_t kHexBlock = 1024;
constexpr std::uint64_t kCrcBlock = 512;
constexpr std::uint64_t kFindBlock = 64 * 1024;

bool IsUnitWidth(unsigned width) {
    return width == 1 || width == 2 || width == 4 || width == 8;
}

std::uint64_t Assemble(const std::uint8_t* bytes, unsigned width, bool bigEndian) {
    std::uint64_t value = 0;
    for (unsigned k = 0; k < width; ++k) value = (value << 8) | bytes[bigEndian ? k : width - 1 - k];
    return value;
}

std::int64_t SignExtend(std::uint64_t value, unsigned width) {
    if (width >= 8) return static_cast<std::int64_t>(value);
    unsigned shift = 64 - 8 * width;
    return static_cast<std::int64_t>(value << shift) >> shift;
}

// A typed read's result; a quad word with any of bits 48 to 62 set cannot be
// handed to a script as a number.
UnitValue MakeUnitValue(std::uint64_t raw, unsigned width, bool isSigned) {
    UnitValue result;
    if (width == 8 && (raw & 0x7FFF000000000000ull) != 0) {
        result.isError = true;
        return result;
    }
    result.number = isSigned ? static_cast<double>(SignExtend(raw, width)) : static_cast<double>(raw);
    return result;
}

// base + delta when it lies within 0..size.
bool Target(std::uint64_t base, std::int64_t delta, std::uint64_t size, std::uint64_t* target) {
    if (delta >= 0) {
        std::uint64_t d = static_cast<std::uint64_t>(delta);
        if (base > size || d > size - base) return false;
        *target = base + d;
    } else {
        std::uint64_t d = static_cast<std::uint64_t>(-(delta + 1)) + 1;
        if (d > base || base - d > size) return false;
        *target = base - d;
    }
    return true;
}

std::uint64_t SeekBase(std::int32_t mode, const ReadState& state) {
    if (mode == 1) return state.position;
    if (mode == 2) return state.size;
    return 0;
}

// The CRC of CalcCrc32: polynomial 0x04C11DB7 shifted out at the top, the
// bits of each byte fed least significant first.
std::uint32_t CrcMsbFirst(std::uint32_t crc, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        std::uint8_t b = bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            bool in = ((b >> bit) & 1) != 0;
            bool top = (crc & 0x80000000u) != 0;
            crc <<= 1;
            if (in != top) crc ^= 0x04C11DB7u;
        }
    }
    return crc;
}

std::string FieldText(const char* field, std::size_t width) {
    std::size_t n = 0;
    while (n < width && field[n] != '\0') ++n;
    return std::string(field, n);
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Version × 100 truncated toward zero, held within the field's range (a NaN
// stores 0) instead of wrapping into an unrelated number. The product is
// first cleared of binary rounding (2.05 × 100 is 204.99999999999997), so a
// version written with two decimals keeps them.
std::int16_t VersionField(double version) {
    double scaled = std::trunc(std::round(version * 100.0 * 1e6) / 1e6);
    if (std::isnan(scaled)) return 0;
    if (scaled > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (scaled < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(scaled);
}

template <typename Body>
HResult Guarded(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

}  // namespace

ReadState& ProcessReadState() {
    static ReadState state;
    return state;
}

FileCore::FileCore(session::SessionBlock& block, ByteSource& input, TextSink& output, TextSink& errors)
    : block_(block), input_(input), output_(output), errors_(errors) {}

void FileCore::Attach() {
    std::uint64_t size = input_.Size();
    block_.outputBytes = 0;
    block_.fileSize = static_cast<std::uint32_t>(size);
    block_.reversible = 1;
    block_.outputCrc = 0;
    ReadState& state = ProcessReadState();
    state.size = size;
    state.position = 0;
    state.handlePosition = 0;
    input_.SeekTo(0);
}

// ---------------------------------------------------------------- reading

bool FileCore::bigEndian() const { return session::IsBigEndian(block_); }

std::uint64_t FileCore::Remaining() const {
    const ReadState& state = ProcessReadState();
    return state.position < state.size ? state.size - state.position : 0;
}

std::size_t FileCore::ReadAtP(std::uint8_t* buffer, std::uint64_t n) {
    ReadState& state = ProcessReadState();
    std::uint64_t ask = n < Remaining() ? n : Remaining();
    if (ask == 0) return 0;
    if (state.handlePosition != state.position) {
        if (!input_.SeekTo(state.position)) return 0;
        state.handlePosition = state.position;
    }
    std::size_t got = input_.Read(buffer, static_cast<std::size_t>(ask));
    if (got > ask) got = static_cast<std::size_t>(ask);
    state.position += got;
    state.handlePosition += got;
    return got;
}

std::size_t FileCore::ReadBytes(std::vector<std::uint8_t>* buffer, std::uint64_t n) {
    std::uint64_t room = n < Remaining() ? n : Remaining();
    buffer->resize(static_cast<std::size_t>(room));
    std::size_t got = ReadAtP(buffer->data(), room);
    buffer->resize(got);
    return got;
}

bool FileCore::Endian() const { return bigEndian(); }

void FileCore::SetEndian(std::int32_t value) {
    block_.dataFormat = static_cast<std::uint16_t>((block_.dataFormat & ~session::kBigEndianBit) |
                                                   ((value & 1) != 0 ? session::kBigEndianBit : 0));
}

std::string FileCore::FileName() const { return FieldText(block_.fileName, session::kFileNameWidth); }

HResult FileCore::GetUnit(unsigned width, std::int32_t distance, bool isSigned, UnitValue* result) {
    if (!IsUnitWidth(width) || result == nullptr) return kInvalidArg;
    ReadState& state = ProcessReadState();
    const std::uint64_t saved = state.position;
    // A distance that leaves the file reads nothing: the unit is not there,
    // and the data at P would be a wrong answer.
    bool inFile = true;
    if (distance != 0) {
        std::uint64_t target;
        inFile = Target(state.position, static_cast<std::int64_t>(distance) * width, state.size, &target);
        if (inFile) state.position = target;
    }
    std::uint8_t bytes[8];
    std::size_t got = inFile ? ReadAtP(bytes, width) : 0;
    state.position = saved;
    if (got < width) return Fatal(texts::kEndOfFile);
    *result = MakeUnitValue(Assemble(bytes, width, bigEndian()), width, isSigned);
    return kOk;
}

HResult FileCore::GetString(std::int32_t size, std::int32_t offset, std::string* result) {
    if (size < 0 || result == nullptr) return kInvalidArg;
    return Guarded([&]() -> HResult {
        result->clear();
        if (size == 0) return kOk;
        ReadState& state = ProcessReadState();
        const std::uint64_t saved = state.position;
        bool inFile = true;
        if (offset != 0) {
            std::uint64_t target;
            inFile = Target(state.position, offset, state.size, &target);
            if (inFile) state.position = target;
        }
        std::vector<std::uint8_t> bytes;
        std::size_t got = inFile ? ReadBytes(&bytes, static_cast<std::uint64_t>(size)) : 0;
        state.position = saved;
        if (got < static_cast<std::size_t>(size)) return Fatal(texts::kEndOfFile);
        std::size_t length = 0;
        while (length < got && bytes[length] != 0) ++length;
        result->assign(reinterpret_cast<const char*>(bytes.data()), length);
        return kOk;
    });
}

HResult FileCore::ReadUnits(unsigned width, std::uint64_t count, std::vector<std::uint64_t>* values) {
    ReadState& state = ProcessReadState();
    const std::uint64_t saved = state.position;
    const bool big = bigEndian();
    values->clear();
    std::uint64_t fit = Remaining() / width;
    values->reserve(static_cast<std::size_t>(count < fit ? count : fit));
    std::uint8_t block[kHexBlock];
    std::uint64_t left = count * width;
    while (left > 0) {
        std::uint64_t want = left < kHexBlock ? left : kHexBlock;
        std::size_t got = ReadAtP(block, want);
        if (got < want) {
            // Report from where the read began: nothing of it was emitted, so
            // the dump must hold it.
            state.position = saved;
            values->clear();
            return Fatal(texts::kEndOfFile);
        }
        for (std::size_t k = 0; k < got; k += width) values->push_back(Assemble(block + k, width, big));
        left -= want;
    }
    state.position = saved;
    return kOk;
}

HResult FileCore::GetUnitsOf(unsigned width, unsigned count, std::vector<std::uint64_t>* result) {
    if (!IsUnitWidth(width) || result == nullptr) return kInvalidArg;
    return Guarded([&] { return ReadUnits(width, count, result); });
}

HResult FileCore::GetUnits(unsigned width, std::int32_t count, std::vector<std::uint64_t>* result) {
    if (!IsUnitWidth(width) || count < 0 || result == nullptr) return kInvalidArg;
    return Guarded([&] { return ReadUnits(width, static_cast<std::uint64_t>(count), result); });
}

HResult FileCore::GetFormat(const std::string& text, std::vector<FormatElement>* result) {
    if (result == nullptr) return kInvalidArg;
    return Guarded([&]() -> HResult {
        result->clear();
        // A format is a "%s"-style text: it ends at its first zero byte.
        const std::string format = UpToNul(text);
        std::vector<FormatItem> items;
        if (!FormatParser::Parse(format, FormatParser::Dialect::Read, &items)) return Fatal(texts::kBadFormat);
        const std::uint64_t total = FormatParser::TotalBytes(items);
        if (total == 0) return kInvalidArg;
        std::vector<std::uint8_t> bytes;
        std::size_t got = ReadBytes(&bytes, total);
        ProcessReadState().position -= got;
        if (got < total) return Fatal(texts::kEndOfFile);

        const bool big = bigEndian();
        result->reserve(static_cast<std::size_t>(FormatParser::TotalUnits(items)));
        std::size_t at = 0;
        for (const FormatItem& item : items) {
            if (item.kind != FormatItem::Kind::Conversion) continue;
            for (std::uint64_t k = 0; k < item.count; ++k) {
                FormatElement element{};
                switch (item.letter) {
                    case 'B': element.kind = FormatElement::Kind::Byte; break;
                    case 'C': element.kind = FormatElement::Kind::Char; break;
                    case 'W': element.kind = FormatElement::Kind::Word; break;
                    case 'D': element.kind = FormatElement::Kind::DWord; break;
                    default: element.kind = FormatElement::Kind::QWord; break;
                }
                element.value = Assemble(bytes.data() + at, item.unitSize, big);
                if (element.kind == FormatElement::Kind::Char) element.text.assign(1, static_cast<char>(bytes[at]));
                result->push_back(std::move(element));
                at += item.unitSize;
            }
        }
        return kOk;
    });
}

std::int32_t FileCore::Find(unsigned width, std::uint64_t value) {
    if (!IsUnitWidth(width)) return -1;
    std::uint8_t pattern[8];
    for (unsigned k = 0; k < width; ++k) {
        unsigned shift = 8 * (bigEndian() ? width - 1 - k : k);
        pattern[k] = static_cast<std::uint8_t>(value >> shift);
    }
    ReadState& state = ProcessReadState();
    const std::uint64_t saved = state.position;
    // The index goes back to the script as a 32-bit number; units beyond
    // that range are not searched.
    std::uint64_t units = Remaining() / width;
    const std::uint64_t maxUnits = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    if (units > maxUnits) units = maxUnits;
    std::int32_t found = -1;
    try {
        std::vector<std::uint8_t> block(static_cast<std::size_t>(kFindBlock));
        std::uint64_t index = 0;
        while (index < units && found < 0) {
            std::uint64_t want = (units - index) * width;
            if (want > kFindBlock) want = kFindBlock;
            std::size_t got = ReadAtP(block.data(), want);
            for (std::size_t at = 0; at + width <= got; at += width, ++index) {
                if (std::memcmp(block.data() + at, pattern, width) == 0) {
                    found = static_cast<std::int32_t>(index);
                    break;
                }
            }
            if (got < want) break;
        }
    } catch (const std::bad_alloc&) {
        found = -1;
    }
    state.position = saved;
    return found;
}

void FileCore::Seek(std::int64_t offset, std::int32_t mode) {
    ReadState& state = ProcessReadState();
    std::uint64_t target;
    if (Target(SeekBase(mode, state), offset, state.size, &target)) state.position = target;
}

std::uint64_t FileCore::Offset() const { return ProcessReadState().position; }
std::uint64_t FileCore::Length() const { return ProcessReadState().size; }
bool FileCore::Eof() const { return ProcessReadState().position >= ProcessReadState().size; }

// ----------------------------------------------------------------- output

void FileCore::AddToOutputCrc(const std::uint8_t* bytes, std::size_t size) {
    block_.outputCrc = session::Crc32Update(block_.outputCrc, bytes, size);
}

HResult FileCore::PutUnit(unsigned width, bool isSigned, UnitValue* result) {
    if (!IsUnitWidth(width) || result == nullptr) return kInvalidArg;
    std::uint8_t bytes[8];
    std::size_t got = ReadAtP(bytes, width);
    if (got < width) {
        // The partial unit goes back to the unread rest, which the report
        // dumps, so none of its bytes is lost from the text.
        ProcessReadState().position -= got;
        return Fatal(texts::kEndOfFile);
    }
    AddToOutputCrc(bytes, width);
    return Guarded([&]() -> HResult {
        const bool big = bigEndian();
        std::string line;
        AppendIndent(line, indent);
        for (unsigned k = 0; k < width; ++k) AppendHexByte(line, bytes[big ? k : width - 1 - k]);
        line += '\n';
        output_.Write(line.data(), line.size());
        block_.outputBytes += width;
        *result = MakeUnitValue(Assemble(bytes, width, big), width, isSigned);
        return kOk;
    });
}

HResult FileCore::PutString(std::int32_t size) {
    if (size < 0) return kInvalidArg;
    return Guarded([&]() -> HResult {
        std::vector<std::uint8_t> bytes;
        std::size_t got = ReadBytes(&bytes, static_cast<std::uint64_t>(size));
        if (got < static_cast<std::size_t>(size)) {
            ProcessReadState().position -= got;
            return Fatal(texts::kEndOfFile);
        }
        AddToOutputCrc(bytes.data(), got);
        std::string line;
        AppendIndent(line, indent);
        RenderCharacters(bytes.data(), got, line);
        line += '\n';
        output_.Write(line.data(), line.size());
        block_.outputBytes += static_cast<std::uint32_t>(got);
        return kOk;
    });
}

HResult FileCore::WriteHexLines(unsigned width, std::uint64_t count) {
    if (width == 0 || count == 0) return kOk;
    HexLineWriter writer(output_, indent, width, bigEndian(), block_.lineBytes, block_.separator);
    // Blocks hold whole units, also for unit sizes that do not divide 1024.
    const std::uint64_t blockLimit = kHexBlock / width * width;
    std::uint8_t block[kHexBlock];
    std::uint64_t left = count * width;
    while (left > 0) {
        std::uint64_t want = left < blockLimit ? left : blockLimit;
        std::size_t got = ReadAtP(block, want);
        if (got < want) {
            ProcessReadState().position -= got;
            return Fatal(texts::kEndOfFile);
        }
        AddToOutputCrc(block, got);
        writer.WriteBlock(block, got, &block_.outputBytes);
        left -= want;
    }
    return kOk;
}

bool FileCore::WriteRest() {
    unsigned unit = session::DataUnitSize(block_);
    // No unit size (the block of an information query): nothing to lay out.
    if (unit == 0) return true;
    // A unit wider than 8 bytes would be more digits than the editor packs
    // as one number; such data is written byte by byte.
    if (unit > 8) unit = 1;
    const std::uint64_t rest = Remaining();
    if (WriteHexLines(unit, rest / unit) != kOk) return false;
    if (rest % unit != 0 && WriteHexLines(1, rest % unit) != kOk) return false;
    return true;
}

HResult FileCore::PutAll() {
    Guarded([&] {
        WriteRest();
        return kOk;
    });
    return kOk;
}

HResult FileCore::PutUnits(unsigned width, std::int32_t count) {
    if (!IsUnitWidth(width) || count < 0) return kInvalidArg;
    return Guarded([&] { return WriteHexLines(width, static_cast<std::uint64_t>(count)); });
}

HResult FileCore::PutFormat(const std::string& text) {
    return Guarded([&]() -> HResult {
        // A format is a "%s"-style text: it ends at its first zero byte, so
        // no zero byte reaches the produced text.
        const std::string format = UpToNul(text);
        std::vector<FormatItem> items;
        if (!FormatParser::Parse(format, FormatParser::Dialect::Write, &items)) return Fatal(texts::kBadFormat);
        const bool quiet = (block_.quietFlags & session::kQuietAnnotations) != 0;
        const std::uint64_t total = FormatParser::TotalBytes(items);
        if (total == 0) {
            // Text only: written as it stands, on the current line.
            if (!quiet && !format.empty()) output_.Write(format.data(), format.size());
            return kOk;
        }
        std::vector<std::uint8_t> bytes;
        std::size_t got = ReadBytes(&bytes, total);
        if (got < total) {
            ProcessReadState().position -= got;
            return Fatal(texts::kEndOfFile);
        }
        AddToOutputCrc(bytes.data(), got);

        const bool big = bigEndian();
        std::string line;
        AppendIndent(line, indent);
        std::size_t at = 0;
        for (const FormatItem& item : items) {
            switch (item.kind) {
                case FormatItem::Kind::Literal:
                    if (!quiet) line.append(format, item.begin, item.length);
                    break;
                case FormatItem::Kind::PercentPair:
                    line += "%%";
                    break;
                case FormatItem::Kind::Conversion: {
                    const std::size_t size = static_cast<std::size_t>(item.count * item.unitSize);
                    if (item.letter == 'C') {
                        RenderCharacters(bytes.data() + at, size, line);
                    } else {
                        for (std::size_t unit = 0; unit < size; unit += item.unitSize) {
                            if (unit != 0) line += ' ';
                            const std::uint8_t* p = bytes.data() + at + unit;
                            for (unsigned k = 0; k < item.unitSize; ++k)
                                AppendHexByte(line, p[big ? k : item.unitSize - 1 - k]);
                        }
                    }
                    at += size;
                    break;
                }
            }
        }
        line += '\n';
        output_.Write(line.data(), line.size());
        block_.outputBytes += static_cast<std::uint32_t>(got);
        return kOk;
    });
}

void FileCore::Print(const std::string& text) {
    if (block_.quietFlags & session::kQuietAnnotations) return;
    Guarded([&] {
        std::string line;
        AppendIndent(line, indent);
        line += "< ";
        line += UpToNul(text);
        line += " >\n";
        line = ToTextMode(line);
        output_.Write(line.data(), line.size());
        return kOk;
    });
}

void FileCore::PrintIndex(const std::string& text) {
    if (block_.quietFlags & session::kQuietAnnotations) return;
    Guarded([&] {
        ++headingCounter_;
        std::string line;
        AppendIndent(line, indent);
        line += "[ ";
        line += std::to_string(headingCounter_);
        line += '.';
        line += UpToNul(text);
        line += " ]\n";
        line = ToTextMode(line);
        output_.Write(line.data(), line.size());
        return kOk;
    });
}

// ------------------------------------------------------------ diagnostics

HResult FileCore::Fatal(const std::string& text) {
    if (reporting_) return kAbort;
    struct Reporting {
        bool& flag;
        explicit Reporting(bool& f) : flag(f) { flag = true; }
        ~Reporting() { flag = false; }
    } reporting(reporting_);

    const ReadState& state = ProcessReadState();
    const std::uint64_t offset = state.position <= state.size ? state.position : 0xFFFFFFFFull;
    try {
        std::string line = texts::kErrorOffsetPrefix;
        AppendHexNumber(line, offset);
        line += texts::kErrorOffsetInfix;
        line += UpToNul(text);
        line += '\n';
        line = ToTextMode(line);
        errors_.Write(line.data(), line.size());
        output_.Write(texts::kErrorBanner, sizeof texts::kErrorBanner - 1);
        WriteRest();
    } catch (const std::bad_alloc&) {
        // The report still marks the run as failed below.
    }
    block_.status = session::kStatusFatalError;
    block_.errorOffset = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset));
    return kAbort;
}

HResult FileCore::Abort(const std::string& text) { return Fatal(text); }

HResult FileCore::Assert(std::int32_t expression, const std::string* message) {
    if (expression != 0) return kOk;
    return Fatal(message != nullptr ? *message : std::string(texts::kAssertion));
}

void FileCore::Message(const std::string& text) {
    Guarded([&] {
        std::string line = ToTextMode(UpToNul(text) + "\n");
        errors_.Write(line.data(), line.size());
        return kOk;
    });
}

std::int32_t FileCore::GetExtendNo() const {
    const std::string name = FieldText(block_.fileName, session::kFileNameWidth);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return 0;
    const std::string extension = name.substr(dot + 1);
    const std::string list = FieldText(block_.templateExtend, session::kTemplateExtendWidth);
    std::int32_t result = 0;
    std::int32_t number = 0;
    std::size_t at = 0;
    while (at <= list.size()) {
        std::size_t end = list.find('.', at);
        if (end == std::string::npos) end = list.size();
        if (end > at) {
            ++number;
            if (EqualsIgnoringAsciiCase(list.substr(at, end - at), extension)) result = number;
        }
        at = end + 1;
    }
    return result;
}

std::uint32_t FileCore::CalcCrc32(std::int32_t offset, std::uint32_t size, std::uint32_t init, std::int32_t mode) {
    ReadState& state = ProcessReadState();
    const std::uint64_t saved = state.position;
    std::uint64_t target;
    if (Target(SeekBase(mode, state), offset, state.size, &target)) state.position = target;
    std::uint32_t crc = init;
    std::uint8_t block[kCrcBlock];
    std::uint64_t left = size;
    while (left > 0) {
        std::uint64_t want = left < kCrcBlock ? left : kCrcBlock;
        std::size_t got = ReadAtP(block, want);
        if (got < want) {
            crc = 0xFFFFFFFFu;
            break;
        }
        crc = CrcMsbFirst(crc, block, got);
        left -= want;
    }
    state.position = saved;
    return crc;
}

// ------------------------------------------------------------ declaration

void FileCore::SetTemplateName(const std::string& text) {
    templateName_ = text;
    session::CopyTextField(block_.templateName, session::kTemplateNameWidth, text.data(), text.size());
}

void FileCore::SetTemplateExtend(const std::string& text) {
    templateExtend_ = text;
    session::CopyTextField(block_.templateExtend, session::kTemplateExtendWidth, text.data(), text.size());
}

void FileCore::SetEditorName(const std::string& text) {
    editorName_ = text;
    session::CopyTextField(block_.editorName, session::kEditorNameWidth, text.data(), text.size());
}

void FileCore::SetComment(const std::string& text) {
    comment_ = text;
    session::CopyTextField(block_.comment, session::kCommentWidth, text.data(), text.size());
}

void FileCore::SetHelpUri(const std::string& text) {
    helpUri_ = text;
    session::CopyTextField(block_.helpUri, session::kHelpUriWidth, text.data(), text.size());
}

void FileCore::SetVersion(double version) {
    version_ = version;
    block_.version = VersionField(version);
}

void FileCore::SetReversible(std::int32_t value) {
    block_.reversible = static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::int16_t FileCore::reversible() const { return block_.reversible; }

}  // namespace velda
