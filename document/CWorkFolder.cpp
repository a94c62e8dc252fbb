#include "document/CWorkFolder.h"

#include <windows.h>

#include "framework/Handles.h"

CWorkFolder::Result CWorkFolder::Prepare() {
    char temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) return Result::Failed;
    path_ = std::string(temp) + "Pramel";
    if (CreateDirectoryA(path_.c_str(), nullptr)) return Result::Ready;
    if (GetLastError() == ERROR_INVALID_NAME) return Result::InvalidName;
    DeleteLeftovers();
    return Result::Ready;
}

std::string CWorkFolder::CreateWorkFile() const {
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
