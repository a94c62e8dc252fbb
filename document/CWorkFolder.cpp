#include "document/CWorkFolder.h"

#include <windows.h>

#include "framework/Handles.h"

CWorkFolder::Result CWorkFolder::Prepare() {
    path_.clear();
    char temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) return Result::Failed;
    std::string folder = std::string(temp) + "Pramel";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_NAME) return Result::InvalidName;
        // Only a folder that is there already will do (not a file of that
        // name, not a temporary folder that cannot be written).
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Result::Failed;
    }
    path_ = folder;
    DeleteLeftovers();
    return Result::Ready;
}

std::string CWorkFolder::CreateWorkFile() const {
    // Without the work folder there is no place for work files: never the
    // current folder, which an empty path would mean.
    if (path_.empty()) return std::string();
    char name[MAX_PATH + 16] = {};
    if (!GetTempFileNameA(path_.c_str(), "prm", 0, name)) return std::string();
    return name;
}

void CWorkFolder::DeleteLeftovers() const {
    if (path_.empty()) return;
    WIN32_FIND_DATAA found{};
    UniqueFind find(FindFirstFileA((path_ + "\\prm*.TMP").c_str(), &found));
    if (!find) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        DeleteFileA((path_ + "\\" + name).c_str());
    } while (FindNextFileA(find.get(), &found));
}
