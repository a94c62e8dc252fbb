// Test doubles for the two ports and helpers shared by the pipeline tests and
// the fuzz target: a text surface that streams in chunks of chosen sizes, a
// byte file in memory that can be made to fail, endpoints of every kind, and
// a plain formatter of the hexadecimal layout to compare the dump against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/CStream.h"
#include "pipeline/Chains.h"
#include "pipeline/Ports.h"

namespace pramel_test {

constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

// Streams its text out in chunks whose sizes cycle through outChunks, and
// takes a new text through buffers whose sizes cycle through inBuffers. Each
// chunk and buffer is a fresh allocation released right after the callback,
// so a stage that reads past a chunk or keeps a pointer into it trips ASan.
class FakeTextSurface : public ITextSurface {
public:
    std::string text;
    std::vector<std::size_t> outChunks{kWhole};
    std::vector<std::size_t> inBuffers{4096};
    int streamInCalls = 0;
    bool overfilled = false;  // a filler reported more than its capacity

    bool HasText() override { return !text.empty(); }
    void StreamOut(ChunkReader& reader) override;
    void StreamIn(BufferFiller& filler) override;
};

// A byte file in memory. Reads from byte failReadAt on and writes beyond
// failWriteAt bytes in total throw FileError.
class MemoryFile : public IByteFile {
public:
    explicit MemoryFile(std::string content = {}) : data(std::move(content)) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;

    std::string data;
    std::size_t readPos = 0;
    std::string written;
    std::size_t failReadAt = kWhole;
    std::size_t failWriteAt = kWhole;
};

enum class EndKind { File, String, Memory, RichEdit };
const char* Name(EndKind kind);

// An endpoint stage together with the object it points at.
class Endpoint {
public:
    static std::unique_ptr<Endpoint> Source(EndKind kind, const std::string& content,
                                            std::vector<std::size_t> chunks = {kWhole});
    // memoryCapacity sizes a memory sink; the rest of its block is filled
    // with a guard byte that must survive the run.
    static std::unique_ptr<Endpoint> Sink(EndKind kind, std::size_t memoryCapacity = 0,
                                          std::vector<std::size_t> buffers = {4096});

    CStream& stream() { return *stream_; }
    // What a sink received (a memory sink: the bytes up to its position).
    std::string Output() const;
    bool GuardIntact() const;
    std::string Describe() const;

    EndKind kind;
    MemoryFile file;
    std::string str;
    FakeTextSurface surface;
    std::vector<std::uint8_t> memory;
    MemoryBlock block;

private:
    std::unique_ptr<CStream> stream_;
};

// The hexadecimal text of data in the given layout, written the simple way.
std::string ReferenceDump(const std::string& data, const HexLayout& layout);

std::string RandomBytes(std::size_t size, std::uint32_t seed);
// "12 34 ab" -> the bytes 12 34 AB.
std::string Bytes(const char* hex);
// Bytes shown as hexadecimal pairs, for failure messages.
std::string Hex(const std::string& bytes);

}  // namespace pramel_test
