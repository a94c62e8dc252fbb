// Byte files over POSIX file descriptors, for the native build.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "pipeline/ByteFiles.h"

namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

struct OsByteFile::Impl {
    int fd = -1;
    bool owned = false;
    std::string name;
    std::vector<char> pending;
};

OsByteFile::OsByteFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<OsByteFile> OsByteFile::Open(const std::string& path, Mode mode) {
    int flags = mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) throw FileError(Reason(path));
    auto impl = std::make_unique<Impl>();
    impl->fd = fd;
    impl->owned = true;
    impl->name = path;
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardInput() {
    auto impl = std::make_unique<Impl>();
    impl->fd = 0;
    impl->name = "standard input";
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardOutput() {
    auto impl = std::make_unique<Impl>();
    impl->fd = 1;
    impl->name = "standard output";
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

OsByteFile::~OsByteFile() {
    try {
        Flush();
    } catch (const FileError&) {
        // A caller that cares about the last bytes calls Flush itself.
    }
    if (impl_->owned) ::close(impl_->fd);
}

std::size_t OsByteFile::Read(void* buffer, std::size_t size) {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(impl_->fd, p + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(Reason(impl_->name));
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void OsByteFile::Write(const void* data, std::size_t size) {
    auto& pending = impl_->pending;
    if (pending.size() + size > kWriteBufferSize) Flush();
    const auto* p = static_cast<const char*>(data);
    pending.insert(pending.end(), p, p + size);
    if (pending.size() >= kWriteBufferSize) Flush();
}

void OsByteFile::Flush() {
    auto& pending = impl_->pending;
    std::size_t done = 0;
    while (done < pending.size()) {
        ssize_t n = ::write(impl_->fd, pending.data() + done, pending.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            pending.clear();
            throw FileError(Reason(impl_->name));
        }
        done += static_cast<std::size_t>(n);
    }
    pending.clear();
}
