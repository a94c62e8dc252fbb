// The two ports through which the conversion chains reach the outside: a
// text surface (the editor's rich-edit control, or a string in tests) and a
// byte file (a Win32 handle, or a file descriptor natively).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// Raised by a byte file when the system refuses a read or a write. It is not
// caught by the chain runner: the caller of the run reports it.
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

class IByteFile {
public:
    virtual ~IByteFile() = default;
    // Reads up to size bytes; fewer only at the end of the file (a pipe is
    // read until it is full or closed). Throws FileError on failure.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // Writes all size bytes or throws FileError.
    virtual void Write(const void* data, std::size_t size) = 0;
};

// A text surface hands its text out in chunks and takes a new text in
// buffers that it asks to be filled.
class ITextSurface {
public:
    class ChunkReader {
    public:
        virtual ~ChunkReader() = default;
        // Takes one chunk of the text; false stops the stream-out.
        virtual bool Take(const std::uint8_t* data, std::size_t size) = 0;
    };
    class BufferFiller {
    public:
        virtual ~BufferFiller() = default;
        // Fills up to capacity bytes and returns how many; 0 ends the
        // stream-in. Returns false to abort the stream-in.
        virtual bool Fill(std::uint8_t* buffer, std::size_t capacity, std::size_t* filled) = 0;
    };

    virtual ~ITextSurface() = default;
    virtual bool HasText() = 0;
    // Streams the whole text out as plain text (line ends as CR LF).
    virtual void StreamOut(ChunkReader& reader) = 0;
    // Replaces the whole content with the text the filler supplies.
    virtual void StreamIn(BufferFiller& filler) = 0;
};

// A block of memory used as a chain endpoint (the editor uses a movable
// global memory block; its allocated size is the whole block).
struct MemoryBlock {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
