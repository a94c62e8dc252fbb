#include "pipeline/ByteFiles.h"

namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;

}  // namespace

void OsByteFile::FlushQuietly() noexcept {
    try {
        Flush();
    } catch (const FileError&) {
        pending_.clear();
    }
}

std::size_t OsByteFile::Read(void* buffer, std::size_t size) {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        std::size_t n = ReadOnce(p + done, size - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

void OsByteFile::Write(const void* data, std::size_t size) {
    if (pending_.size() + size > kWriteBufferSize) Flush();
    const auto* p = static_cast<const char*>(data);
    pending_.insert(pending_.end(), p, p + size);
    if (pending_.size() >= kWriteBufferSize) Flush();
}

void OsByteFile::Flush() {
    std::size_t done = 0;
    try {
        while (done < pending_.size()) done += WriteOnce(pending_.data() + done, pending_.size() - done);
    } catch (const FileError&) {
        pending_.clear();
        throw;
    }
    pending_.clear();
}
