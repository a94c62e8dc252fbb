// The system calls of byte files over POSIX file descriptors (native build).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "pipeline/ByteFiles.h"

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

struct OsByteFile::Impl {
    int fd = -1;
    bool owned = false;
    std::string name;
};

namespace {

std::unique_ptr<OsByteFile::Impl> Wrap(int fd, bool owned, const std::string& name) {
    auto impl = std::make_unique<OsByteFile::Impl>();
    impl->fd = fd;
    impl->owned = owned;
    impl->name = name;
    return impl;
}

}  // namespace

std::unique_ptr<OsByteFile> OsByteFile::Open(const std::string& path, Mode mode) {
    int flags = mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) throw FileError(Reason(path));
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(fd, true, path)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardInput() {
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(0, false, "standard input")));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardOutput() {
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(1, false, "standard output")));
}

OsByteFile::OsByteFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

OsByteFile::~OsByteFile() {
    FlushQuietly();
    if (impl_->owned) ::close(impl_->fd);
}

std::size_t OsByteFile::ReadOnce(void* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = ::read(impl_->fd, buffer, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw FileError(Reason(impl_->name));
    }
}

std::size_t OsByteFile::WriteOnce(const char* data, std::size_t size) {
    for (;;) {
        ssize_t n = ::write(impl_->fd, data, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw FileError(Reason(impl_->name));
    }
}
