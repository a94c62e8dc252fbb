#include "TestEndpoints.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace pramel_test {
namespace {

constexpr std::uint8_t kGuard = 0xA5;
constexpr std::size_t kGuardTail = 32;

std::size_t Cycle(const std::vector<std::size_t>& sizes, std::size_t i) {
    return sizes.empty() ? kWhole : sizes[i % sizes.size()];
}

std::string Sizes(const std::vector<std::size_t>& sizes) {
    std::string s;
    for (std::size_t n : sizes) s += (s.empty() ? "" : ",") + (n == kWhole ? std::string("whole") : std::to_string(n));
    return s;
}

}  // namespace

void FakeTextSurface::StreamOut(ChunkReader& reader) {
    std::size_t pos = 0;
    for (std::size_t i = 0; pos < text.size(); ++i) {
        std::size_t n = std::min(Cycle(outChunks, i), text.size() - pos);
        std::vector<std::uint8_t> chunk(text.begin() + pos, text.begin() + pos + n);
        pos += n;
        if (!reader.Take(chunk.data(), chunk.size())) return;
    }
}

void FakeTextSurface::StreamIn(BufferFiller& filler) {
    ++streamInCalls;
    std::string received;
    for (std::size_t i = 0;; ++i) {
        std::size_t capacity = Cycle(inBuffers, i);
        if (capacity == kWhole) capacity = 65536;
        std::vector<std::uint8_t> buffer(capacity);
        std::size_t filled = 0;
        if (!filler.Fill(buffer.data(), buffer.size(), &filled)) break;
        if (filled > capacity) {
            overfilled = true;
            break;
        }
        if (filled == 0) break;
        received.append(buffer.begin(), buffer.begin() + filled);
    }
    text = received;
}

std::size_t MemoryFile::Read(void* buffer, std::size_t size) {
    std::size_t n = std::min(size, data.size() - readPos);
    if (failReadAt != kWhole && readPos + n > failReadAt) throw FileError("read refused");
    std::memcpy(buffer, data.data() + readPos, n);
    readPos += n;
    return n;
}

void MemoryFile::Write(const void* bytes, std::size_t size) {
    if (failWriteAt != kWhole && written.size() + size > failWriteAt) throw FileError("write refused");
    written.append(static_cast<const char*>(bytes), size);
}

const char* Name(EndKind kind) {
    switch (kind) {
        case EndKind::File: return "file";
        case EndKind::String: return "string";
        case EndKind::Memory: return "memory";
        case EndKind::RichEdit: return "richedit";
    }
    return "?";
}

std::unique_ptr<Endpoint> Endpoint::Source(EndKind kind, const std::string& content,
                                           std::vector<std::size_t> chunks) {
    std::unique_ptr<Endpoint> e(new Endpoint);
    e->kind = kind;
    switch (kind) {
        case EndKind::File:
            e->file.data = content;
            e->stream_ = std::make_unique<CStream>(kFileStream, static_cast<IByteFile*>(&e->file));
            break;
        case EndKind::String:
            e->str = content;
            e->stream_ = std::make_unique<CStream>(kStringStream, &e->str);
            break;
        case EndKind::Memory:
            e->memory.assign(content.begin(), content.end());
            e->block.data = e->memory.data();
            e->block.size = e->memory.size();
            e->stream_ = std::make_unique<CStream>(kMemoryStream, &e->block);
            break;
        case EndKind::RichEdit:
            e->surface.text = content;
            e->surface.outChunks = std::move(chunks);
            e->stream_ = std::make_unique<CStream>(kRichEditStream, static_cast<ITextSurface*>(&e->surface));
            break;
    }
    return e;
}

std::unique_ptr<Endpoint> Endpoint::Sink(EndKind kind, std::size_t memoryCapacity,
                                         std::vector<std::size_t> buffers) {
    std::unique_ptr<Endpoint> e = Source(kind, std::string());
    if (kind == EndKind::Memory) {
        e->memory.assign(memoryCapacity + kGuardTail, kGuard);
        e->block.data = e->memory.data();
        e->block.size = memoryCapacity;
    }
    e->surface.inBuffers = std::move(buffers);
    return e;
}

std::string Endpoint::Output() const {
    switch (kind) {
        case EndKind::File: return file.written;
        case EndKind::String: return str;
        case EndKind::RichEdit: return surface.text;
        case EndKind::Memory: {
            std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(stream_->position), block.size);
            return std::string(memory.begin(), memory.begin() + n);
        }
    }
    return {};
}

bool Endpoint::GuardIntact() const {
    if (kind != EndKind::Memory) return !surface.overfilled;
    std::size_t n = static_cast<std::size_t>(stream_->position);
    return std::all_of(memory.begin() + std::min(n, memory.size()), memory.end(),
                       [](std::uint8_t b) { return b == kGuard; });
}

std::string Endpoint::Describe() const {
    std::string s = Name(kind);
    if (kind == EndKind::RichEdit) s += " out[" + Sizes(surface.outChunks) + "] in[" + Sizes(surface.inBuffers) + "]";
    return s;
}

std::string ReferenceDump(const std::string& data, const HexLayout& layout) {
    static const char digits[] = "0123456789ABCDEF";
    const std::size_t g = static_cast<std::size_t>(layout.groupSize);
    std::string out;
    std::uint32_t lineBytes = 0;
    for (std::size_t i = 0; i < data.size(); i += g) {
        std::size_t n = std::min(g, data.size() - i);
        for (std::size_t j = 0; j < n; ++j) {
            auto b = static_cast<std::uint8_t>(layout.byteOrder ? data[i + j] : data[i + n - 1 - j]);
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        if (n < g) break;  // a short last group ends the text as it is
        lineBytes += static_cast<std::uint32_t>(g);
        if (i + g < data.size()) {
            if (layout.separatorCode == 2) out += ',';
            else if (lineBytes < layout.bytesPerLine) out += layout.separatorCode == 1 ? '\t' : ' ';
        }
        if (lineBytes >= layout.bytesPerLine) {
            out += "\r\n";
            lineBytes = 0;
        }
    }
    return out;
}

std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

std::string Bytes(const char* hex) {
    std::string out;
    int nibbles = 0, value = 0;
    for (const char* p = hex; *p; ++p) {
        char c = *p;
        int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (v < 0) continue;
        value = value * 16 + v;
        if (++nibbles == 2) {
            out += static_cast<char>(value);
            nibbles = value = 0;
        }
    }
    return out;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

}  // namespace pramel_test
