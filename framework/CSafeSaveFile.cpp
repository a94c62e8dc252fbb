#include "framework/CSafeSaveFile.h"

#include <windows.h>

#include "framework/CFileException.h"
#include "framework/Strings.h"

namespace {

[[noreturn]] void Fail(DWORD code, const std::string& path) {
    throw CFileException(CFileException::CauseOf(code), code, path);
}

// Refuses a target that cannot be replaced, before anything is written.
void CheckTarget(const std::string& target) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return;  // a new file
        Fail(code, target);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(ERROR_ACCESS_DENIED, target);
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        throw CFileException(CFileException::Cause::ReadOnly, ERROR_ACCESS_DENIED, target);
    }
    // Another program that holds the file without sharing it keeps us from
    // replacing it; find out now rather than after the whole conversion.
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail(GetLastError(), target);
    CloseHandle(h);
}

// True when the file exists and cannot be opened for deleting because
// another program holds it.
bool IsHeldByAnother(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

CSafeSaveFile::CSafeSaveFile(const std::string& target) : target_(target) {
    CheckTarget(target);
    std::string folder = text::FolderOf(target);
    if (folder.empty()) folder = ".";
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    char name[MAX_PATH + 16] = {};
    if (!GetTempFileNameA(folder.c_str(), "~pr", 0, name)) Fail(GetLastError(), target);
    temporary_ = name;
    try {
        file_ = CFile(temporary_, CFile::Mode::CreateNew);
    } catch (...) {
        DeleteFileA(temporary_.c_str());
        throw;
    }
    file_.SetReportedPath(target);
}

CSafeSaveFile::~CSafeSaveFile() {
    if (committed_) return;
    if (file_.IsOpen()) {
        try {
            file_.Close();
        } catch (...) {
            // The temporary file goes away below in any case.
        }
    }
    DeleteFileA(temporary_.c_str());
}

void CSafeSaveFile::Commit() {
    if (!FlushFileBuffers(file_.handle())) Fail(GetLastError(), target_);
    file_.Close();
    // The replaced file's hidden, system and not-indexed marks stay with it;
    // as a changed file it is marked for the next backup.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD old = GetFileAttributesA(target_.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKept)) {
        SetFileAttributesA(temporary_.c_str(), (old & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    }
    if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        // A target that another program holds open is refused as "access
        // denied"; say that it is in use when that is why.
        if (code == ERROR_ACCESS_DENIED && IsHeldByAnother(target_)) code = ERROR_SHARING_VIOLATION;
        Fail(code, target_);
    }
    committed_ = true;
}
