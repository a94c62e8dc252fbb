// The logic behind the script-facing File object, free of COM and Windows:
// reading at the process-wide read position, assembling units in the chosen
// byte order, the format language, hexadecimal, character, comment and
// heading lines, the fatal error report and the template declaration.
//
// The COM class converts BSTR/VARIANT/SAFEARRAY arguments and results and
// owns the session attachment; everything else happens here. Texts are bytes
// in the ANSI code page (932), as they stand in the session block and in the
// produced text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "library/core/Ports.h"
#include "session/SessionBlock.h"

namespace velda {

using HResult = std::int32_t;
constexpr HResult kOk = 0;
constexpr HResult kAbort = static_cast<HResult>(0x80004004);        // E_ABORT
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057);   // E_INVALIDARG
constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000E);  // E_OUTOFMEMORY
constexpr HResult kBadBlockSize = static_cast<HResult>(0x80010110);

// The read position, size and last handle position shared by every File
// object of the script process.
struct ReadState {
    std::uint64_t size = 0;
    std::uint64_t position = 0;
    std::uint64_t handlePosition = 0;
};
ReadState& ProcessReadState();

// A typed read's result: a number, or the error marker that a quad word
// with any of bits 48 to 62 set yields instead of a number.
struct UnitValue {
    bool isError = false;
    double number = 0;
};

// One element of GetFormat's array, before the variant conversion that the
// COM layer applies: Byte -> VT_I2, Char -> one-byte string, Word -> VT_I4,
// DWord -> VT_R8, QWord -> VT_I8 (each from the unsigned value).
struct FormatElement {
    enum class Kind { Byte, Char, Word, DWord, QWord } kind;
    std::uint64_t value = 0;   // unsigned unit value, assembled in the byte order
    std::string text;          // Char: the one byte
};

class FileCore {
public:
    // block, input and the two sinks must outlive the object.
    FileCore(session::SessionBlock& block, ByteSource& input, TextSink& output, TextSink& errors);

    // Attaching: resets outputBytes, fileSize, reversible and outputCrc in the
    // block and the process-wide read state, and moves the input to 0.
    void Attach();

    // --- reading and navigation ---
    bool Endian() const;                 // bit 0 of dataFormat
    void SetEndian(std::int32_t value);  // lowest bit selects big-endian
    std::string FileName() const;        // the block's fileName

    // GetByte..GetQWord: width 1, 2, 4, 8; distance counts units.
    HResult GetUnit(unsigned width, std::int32_t distance, bool isSigned, UnitValue* result);
    // GetString: size bytes at P + offset (bytes), cut at the first zero.
    HResult GetString(std::int32_t size, std::int32_t offset, std::string* result);
    // GetByteOf..GetQWordOf: count consecutive unsigned units at P.
    HResult GetUnitsOf(unsigned width, unsigned count, std::vector<std::uint64_t>* result);
    // GetBytes..GetQWords: count units at P (unsigned values).
    HResult GetUnits(unsigned width, std::int32_t count, std::vector<std::uint64_t>* result);
    HResult GetFormat(const std::string& format, std::vector<FormatElement>* result);
    // FindByte..FindQWord: value's low width bytes, laid out in the byte order.
    std::int32_t Find(unsigned width, std::uint64_t value);
    void Seek(std::int64_t offset, std::int32_t mode);
    std::uint64_t Offset() const;
    std::uint64_t Length() const;
    bool Eof() const;

    // --- output ---
    HResult PutUnit(unsigned width, bool isSigned, UnitValue* result);
    HResult PutString(std::int32_t size);
    HResult PutUnits(unsigned width, std::int32_t count);
    HResult PutAll();
    HResult PutFormat(const std::string& format);
    void Print(const std::string& text);
    void PrintIndex(const std::string& text);
    std::int32_t indent = 0;

    // --- diagnostics, declaration, checksums ---
    HResult Abort(const std::string& text);
    // message null: the default assertion text.
    HResult Assert(std::int32_t expression, const std::string* message);
    void Message(const std::string& text);
    std::int32_t GetExtendNo() const;
    std::uint32_t CalcCrc32(std::int32_t offset, std::uint32_t size, std::uint32_t init, std::int32_t mode);

    // Declaration texts: kept whole here, copied cut into the block.
    void SetTemplateName(const std::string& text);
    void SetTemplateExtend(const std::string& text);
    void SetEditorName(const std::string& text);
    void SetComment(const std::string& text);
    void SetHelpUri(const std::string& text);
    void SetVersion(double version);
    void SetReversible(std::int32_t value);  // stores the low 16 bits
    const std::string& templateName() const { return templateName_; }
    const std::string& templateExtend() const { return templateExtend_; }
    const std::string& editorName() const { return editorName_; }
    const std::string& comment() const { return comment_; }
    const std::string& helpUri() const { return helpUri_; }
    double version() const { return version_; }
    std::int16_t reversible() const;  // the block's value as it stands

private:
    // Reads up to n bytes at P with one read call, moving the input handle
    // only when its remembered position differs from P. Never asks for more
    // than is left of the file (S - P), so a request past the end is a short
    // read without a buffer the size of the request. P and the handle
    // position advance by what was read.
    std::size_t ReadAtP(std::uint8_t* buffer, std::uint64_t n);
    std::uint64_t Remaining() const;  // S - P, or 0 when P is at or past S
    // Reads n bytes at P into buffer (resized to what came back).
    std::size_t ReadBytes(std::vector<std::uint8_t>* buffer, std::uint64_t n);
    // count units at P into values, then P back where it was.
    HResult ReadUnits(unsigned width, std::uint64_t count, std::vector<std::uint64_t>* values);
    // Hexadecimal lines for count units of width bytes from P.
    HResult WriteHexLines(unsigned width, std::uint64_t count);
    // PutAll's work; false when a short read cut it off.
    bool WriteRest();
    // Adds emitted bytes to the block's running CRC.
    void AddToOutputCrc(const std::uint8_t* bytes, std::size_t size);
    // The fatal error report at the current P; returns kAbort. A failure
    // while the report dumps the rest of the file ends the dump quietly.
    HResult Fatal(const std::string& text);
    bool bigEndian() const;

    session::SessionBlock& block_;
    ByteSource& input_;
    TextSink& output_;
    TextSink& errors_;
    std::uint32_t headingCounter_ = 0;
    std::string templateName_, templateExtend_, editorName_, comment_, helpUri_;
    double version_ = 0;
    bool reporting_ = false;
};

}  // namespace velda
