// Byte files over Win32 handles, for the Windows build.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "pipeline/ByteFiles.h"

namespace {

constexpr std::size_t kWriteBufferSize = 1 << 16;

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

}  // namespace

struct OsByteFile::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool owned = false;
    std::string name;
    std::vector<char> pending;
};

OsByteFile::OsByteFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<OsByteFile> OsByteFile::Open(const std::string& path, Mode mode) {
    HANDLE h = mode == Mode::Read
                   ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                   : CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw FileError(SystemReason(path, GetLastError()));
    auto impl = std::make_unique<Impl>();
    impl->handle = h;
    impl->owned = true;
    impl->name = path;
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardInput() {
    auto impl = std::make_unique<Impl>();
    impl->handle = GetStdHandle(STD_INPUT_HANDLE);
    impl->name = "standard input";
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

std::unique_ptr<OsByteFile> OsByteFile::StandardOutput() {
    auto impl = std::make_unique<Impl>();
    impl->handle = GetStdHandle(STD_OUTPUT_HANDLE);
    impl->name = "standard output";
    return std::unique_ptr<OsByteFile>(new OsByteFile(std::move(impl)));
}

OsByteFile::~OsByteFile() {
    try {
        Flush();
    } catch (const FileError&) {
        // A caller that cares about the last bytes calls Flush itself.
    }
    if (impl_->owned) CloseHandle(impl_->handle);
}

std::size_t OsByteFile::Read(void* buffer, std::size_t size) {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(impl_->handle, p + done, chunk, &got, nullptr)) {
            DWORD code = GetLastError();
            if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) break;
            throw FileError(SystemReason(impl_->name, code));
        }
        if (got == 0) break;
        done += got;
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
        DWORD wrote = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(pending.size() - done, 1u << 30));
        if (!WriteFile(impl_->handle, pending.data() + done, chunk, &wrote, nullptr)) {
            DWORD code = GetLastError();
            pending.clear();
            throw FileError(SystemReason(impl_->name, code));
        }
        done += wrote;
    }
    pending.clear();
}
