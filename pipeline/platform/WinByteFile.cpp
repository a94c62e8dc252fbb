// The system calls of byte files over Win32 handles (Windows build).
#include <windows.h>

#include <algorithm>

#include "pipeline/ByteFiles.h"

namespace {

// The system's message text for an error code, in the ANSI code page.
std::string SystemReason(const std::string& what, DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = n ? std::string(text, n) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    return what + ": " + reason;
}

constexpr std::size_t kLargestCall = 1u << 30;

}  // namespace

struct OsByteFile::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool owned = false;
    std::string name;
};

namespace {

std::unique_ptr<OsByteFile::Impl> Wrap(HANDLE handle, bool owned, const std::string& name) {
    auto impl = std::make_unique<OsByteFile::Impl>();
    impl->handle = handle;
    impl->owned = owned;
    impl->name = name;
    return impl;
}

}  // namespace

std::unique_ptr<OsByteFile> OsByteFile::Open(const std::string& path, Mode mode) {
    HANDLE h = mode == Mode::Read
                   ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                   : CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw FileError(SystemReason(path, GetLastError()));
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(h, true, path)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardInput() {
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(GetStdHandle(STD_INPUT_HANDLE), false, "standard input")));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardOutput() {
    return std::unique_ptr<OsByteFile>(new OsByteFile(Wrap(GetStdHandle(STD_OUTPUT_HANDLE), false, "standard output")));
}

OsByteFile::OsByteFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

OsByteFile::~OsByteFile() {
    FlushQuietly();
    if (impl_->owned) CloseHandle(impl_->handle);
}

std::size_t OsByteFile::ReadOnce(void* buffer, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(impl_->handle, buffer, static_cast<DWORD>(std::min(size, kLargestCall)), &got, nullptr)) {
        DWORD code = GetLastError();
        if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return 0;  // the writer closed a pipe
        throw FileError(SystemReason(impl_->name, code));
    }
    return got;
}

std::size_t OsByteFile::WriteOnce(const char* data, std::size_t size) {
    DWORD wrote = 0;
    if (!WriteFile(impl_->handle, data, static_cast<DWORD>(std::min(size, kLargestCall)), &wrote, nullptr))
        throw FileError(SystemReason(impl_->name, GetLastError()));
    return wrote;
}
