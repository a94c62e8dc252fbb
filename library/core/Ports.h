// What the template runtime's core reads from and writes to: the script
// process's standard input (the binary file) and its standard output and
// standard error. The COM layer implements them over the inherited handles;
// tests implement them over memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velda {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Size of the whole input; 0 when it cannot be had.
    virtual std::uint64_t Size() = 0;
    // Moves to an absolute offset; false when the system refuses.
    virtual bool SeekTo(std::uint64_t offset) = 0;
    // One read call: up to size bytes; fewer at the end (or on failure).
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};

class TextSink {
public:
    virtual ~TextSink() = default;
    // One write call of raw bytes; failures are ignored by the caller.
    virtual void Write(const char* data, std::size_t size) = 0;
};

}  // namespace velda
