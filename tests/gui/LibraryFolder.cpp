#include "LibraryFolder.h"

namespace gui {
namespace {

const char kServerKey[] = "CLSID\\{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}\\InprocServer32";

}  // namespace

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path[0] == '\\' ? "Z:" + path : path;
}

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string RegistryServer() {
    char value[MAX_PATH + 1] = {};
    LONG size = MAX_PATH;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, kServerKey, value, &size) != ERROR_SUCCESS) return {};
    return value;
}

void SetRegistryServer(const std::string& path) {
    RegSetValueA(HKEY_CLASSES_ROOT, kServerKey, REG_SZ, path.c_str(), static_cast<DWORD>(path.size()));
}

LibraryFolder::LibraryFolder(const std::string& folder,
                             const std::vector<std::pair<std::string, std::string>>& templates)
    : path_(folder + "\\lib\\"), saved_(RegistryServer()) {
    RemoveTree(folder + "\\lib");
    CreateDirectoryA(path_.c_str(), nullptr);
    CopyFileA(WindowsPath(PRAMEL_VELDA_DLL).c_str(), (path_ + "Velda.dll").c_str(), FALSE);
    for (const auto& [subfolder, name] : templates) {
        CreateDirectoryA((path_ + subfolder).c_str(), nullptr);
        CopyFileA((WindowsPath(PRAMEL_GUI_TEMPLATES) + "\\" + name).c_str(), (path_ + subfolder + "\\" + name).c_str(),
                  FALSE);
    }
    SetRegistryServer(path_ + "Velda.dll");
}

LibraryFolder::~LibraryFolder() { SetRegistryServer(saved_); }

}  // namespace gui
