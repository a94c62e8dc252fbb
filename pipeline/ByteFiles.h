// Byte files over the platform's own file objects: a Win32 HANDLE in the
// Windows build, a file descriptor natively. Writes are buffered; Flush (or
// the destructor, silently) hands them to the system.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pipeline/Ports.h"

class OsByteFile : public IByteFile {
public:
    enum class Mode { Read, Write };
    // Opens a path; throws FileError with the system's reason.
    static std::unique_ptr<OsByteFile> Open(const std::string& path, Mode mode);
    // Wraps the process's standard input or output without owning it.
    static std::unique_ptr<OsByteFile> StandardInput();
    static std::unique_ptr<OsByteFile> StandardOutput();

    ~OsByteFile() override;
    std::size_t Read(void* buffer, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    void Flush();

    struct Impl;  // the system's file object, defined per platform

private:
    explicit OsByteFile(std::unique_ptr<Impl> impl);
    // Hands buffered bytes to the system, dropping a failure: for the
    // destructor; a caller that cares about the last bytes calls Flush.
    void FlushQuietly() noexcept;
    // The system calls: one read of up to size bytes (0 at the end), and one
    // write of up to size bytes returning how many were taken.
    std::size_t ReadOnce(void* buffer, std::size_t size);
    std::size_t WriteOnce(const char* data, std::size_t size);

    std::unique_ptr<Impl> impl_;
    std::vector<char> pending_;
};
