#include "framework/CFile.h"

#include <algorithm>

#include "framework/CFileException.h"
#include "framework/Strings.h"

CFile::CFile(const std::string& path, Mode mode) : openedPath_(path), reportedPath_(path) {
    // Reading shares with other readers and writers (an editor may open a
    // file another program is writing); a new file is exclusive while it is
    // being written and may be read (the pre-save template run reads it).
    HANDLE h = mode == Mode::Read
                   ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                   : CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 mode == Mode::CreateUnique ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail(GetLastError());
    handle_.reset(h);
}

void CFile::Fail(DWORD code) const {
    throw CFileException(CFileException::CauseOf(code), code, reportedPath_);
}

std::size_t CFile::Read(void* buffer, std::size_t size) {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_.get(), p + done, chunk, &got, nullptr)) {
            DWORD code = GetLastError();
            if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) break;
            Fail(code);
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

void CFile::Write(const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(handle_.get(), p + done, chunk, &wrote, nullptr)) Fail(GetLastError());
        if (wrote == 0) Fail(ERROR_DISK_FULL);
        done += wrote;
    }
}

void CFile::SeekToBegin() {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(handle_.get(), zero, nullptr, FILE_BEGIN)) Fail(GetLastError());
}

std::uint64_t CFile::Length() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size)) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

void CFile::Close() {
    if (!handle_) return;
    HANDLE h = handle_.release();
    if (!CloseHandle(h)) Fail(GetLastError());
}

std::string CFile::GetFileName() const { return text::FileNameOf(reportedPath_); }
