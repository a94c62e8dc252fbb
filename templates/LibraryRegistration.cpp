#include "templates/LibraryRegistration.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "framework/Strings.h"
#include "templates/core/TemplateListFormat.h"
#include "templates/LibraryTexts.h"

// The library's Com interface as the editor uses it. It must keep external
// linkage: a class with only pure operations inside an unnamed namespace
// lets the compiler conclude that no object of it can exist.
struct IVeldaCom : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Version(LONG* version) = 0;
};

namespace {

// The library's Com class and its interface; the Version getter is the
// first operation after the seven of IDispatch.
const CLSID kComClass = {0xEAC44DFB, 0x26C5, 0x4D85, {0xB8, 0xA7, 0xD1, 0x66, 0x54, 0x50, 0xAB, 0xD0}};
const IID kComInterface = {0x9BD573A7, 0xC0D1, 0x48AF, {0x86, 0xFB, 0x21, 0x8C, 0xF6, 0xE4, 0xF7, 0x90}};

constexpr std::size_t kPathBuffer = MAX_PATH;  // 260 bytes with the terminator

std::string ServerKeyName() {
    return text::Format("CLSID\\{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\\InprocServer32",
                        static_cast<unsigned long>(kComClass.Data1), kComClass.Data2, kComClass.Data3,
                        kComClass.Data4[0], kComClass.Data4[1], kComClass.Data4[2], kComClass.Data4[3],
                        kComClass.Data4[4], kComClass.Data4[5], kComClass.Data4[6], kComClass.Data4[7]);
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExecutablePath() {
    std::vector<char> path(kPathBuffer + 1, '\0');
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return std::string();
    return std::string(path.data(), length);
}

enum class Check { Ready, Missing, OtherVersion };

// Creates the library's Com object and reads its version.
Check CheckLibrary() {
    Check result = Check::Missing;
    HRESULT init = CoInitialize(nullptr);
    IVeldaCom* com = nullptr;
    if (SUCCEEDED(CoCreateInstance(kComClass, nullptr, CLSCTX_INPROC_SERVER, kComInterface,
                                   reinterpret_cast<void**>(&com))) &&
        com) {
        LONG version = 0;
        result = SUCCEEDED(com->get_Version(&version)) && version == library::kExpectedVersion ? Check::Ready
                                                                                                : Check::OtherVersion;
        com->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

// Shows the folder in the browser's status line and enables OK only when
// the folder holds the library.
void ShowBrowsedFolder(HWND window, const char* folder) {
    SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(folder ? folder : ""));
    bool hasLibrary = false;
    if (folder && *folder) {
        std::string candidate = folder;
        if (!template_list::EndsWithSeparator(candidate)) candidate += '\\';
        candidate += library::kLibraryFileName;
        hasLibrary = candidate.size() < kPathBuffer && FileExists(candidate);
    }
    SendMessageA(window, BFFM_ENABLEOK, 0, hasLibrary ? 1 : 0);
}

// Starts the browser on the current folder and keeps its OK button for
// folders that hold the library (a selection without a file-system path
// has none).
int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM lp, LPARAM) {
    switch (msg) {
    case BFFM_INITIALIZED: {
        std::vector<char> current(kPathBuffer + 1, '\0');
        DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(current.size()), current.data());
        bool ok = length > 0 && length < current.size();
        if (ok) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(current.data()));
        // Not every system reports the first selection as a change.
        ShowBrowsedFolder(window, ok ? current.data() : nullptr);
        break;
    }
    case BFFM_SELCHANGED: {
        char folder[MAX_PATH] = {};
        bool ok = SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lp), folder) != FALSE;
        ShowBrowsedFolder(window, ok ? folder : nullptr);
        break;
    }
    default:
        break;
    }
    return 0;
}

// Elevation exists from version 5.1 of the system on.
bool SystemHasElevation() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
    return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
}

}  // namespace

namespace library {

std::string LocateLibrary() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ServerKeyName().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::string();
    }
    char value[kPathBuffer + 1] = {};
    DWORD size = kPathBuffer;  // one byte stays for a terminator the registry may leave out
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
    std::string path(value);
    auto slash = path.rfind('\\');
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash + 1);
}

bool EnsureLibrary() {
    for (;;) {
        bool wanted = false;
        switch (CheckLibrary()) {
        case Check::Ready:
            break;
        case Check::Missing:
            if (text::Message(nullptr, texts::kAskRegisterMissing, texts::kSetupCaption,
                              MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
                return false;
            }
            wanted = true;
            break;
        case Check::OtherVersion:
            wanted = text::Message(nullptr, texts::kAskRegisterVersion, texts::kSetupCaption,
                                   MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
            break;
        }
        if (!wanted) return true;

        // First choice: the "ライブラリ" folder beside the editor.
        std::string candidate;
        std::string exe = ExecutablePath();
        auto slash = exe.rfind('\\');
        if (slash != std::string::npos) {
            std::string folder = exe.substr(0, slash + 1) + texts::kLibraryFolderName;
            SetCurrentDirectoryA(folder.c_str());
            candidate = folder + "\\" + kLibraryFileName;
        }
        if (candidate.empty() || candidate.size() >= kPathBuffer || !FileExists(candidate)) {
            std::string chosen = BrowseLibraryFolder(texts::kBrowseLibraryTitle);
            if (chosen.empty()) return false;
            candidate = chosen + "\\" + kLibraryFileName;
        }
        RegisterLibrary(candidate);
    }
}

std::string BrowseLibraryFolder(const std::string& title) {
    BROWSEINFOA info{};
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return std::string();
    char folder[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListA(chosen, folder) != FALSE;
    CoTaskMemFree(chosen);
    if (!ok) return std::string();
    // The system ends only a drive's root with a backslash.
    return std::string(folder);
}

void RegisterLibrary(const std::string& libraryPath) {
    std::string parameters = "\"" + libraryPath + "\"";
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = nullptr;
    run.lpVerb = SystemHasElevation() ? "runas" : "open";
    run.lpFile = "regsvr32.exe";
    run.lpParameters = parameters.c_str();
    run.lpDirectory = "";
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run)) return;
    if (reinterpret_cast<INT_PTR>(run.hInstApp) <= 32) {
        if (run.hProcess) CloseHandle(run.hProcess);
        return;
    }
    if (run.hProcess) {
        WaitForSingleObject(run.hProcess, INFINITE);
        CloseHandle(run.hProcess);
    }
}

int LibraryFileVersion(const std::string& libraryPath) {
    std::string version = ReadVersionString(libraryPath, "FileVersion", 32);
    int major = 0;
    int minor = 0;
    int build = 0;
    if (std::sscanf(version.c_str(), "%d. %d. %d", &major, &minor, &build) != 3) return -1;
    return major * 100 + minor * 10 + build;
}

void ChangeLibrary(HWND owner) {
    std::string folder = BrowseLibraryFolder(texts::kBrowseLibraryTitle);
    if (folder.empty()) return;
    std::string path = folder + "\\" + kLibraryFileName;
    if (path.size() < kPathBuffer && LibraryFileVersion(path) == kExpectedVersion) {
        RegisterLibrary(path);
        return;
    }
    text::Message(owner, texts::kVersionMismatch, "", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace library

std::string ReadVersionString(const std::string& filePath, const std::string& name, std::size_t size) {
    DWORD ignored = 0;
    DWORD length = GetFileVersionInfoSizeA(filePath.c_str(), &ignored);
    if (length == 0 || size == 0) return std::string();
    std::vector<char> block(length, 0);
    if (!GetFileVersionInfoA(filePath.c_str(), 0, length, block.data())) return std::string();
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT translationSize = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &translationSize) ||
        translationSize < sizeof(Translation)) {
        return std::string();
    }
    std::string query = text::Format("\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                                     name.c_str());
    char* value = nullptr;
    UINT valueSize = 0;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &valueSize) || !value) {
        return std::string();
    }
    std::string result(value, strnlen(value, valueSize));
    if (result.size() > size - 1) result.resize(size - 1);
    return result;
}

void ShowAboutBox(HWND window) {
    std::string exe = ExecutablePath();
    std::string product = ReadVersionString(exe, "ProductName", 64);
    std::string version = ReadVersionString(exe, "FileVersion", 16);
    auto comma = version.rfind(',');
    if (comma != std::string::npos) version.resize(comma);
    std::string internal = ReadVersionString(exe, "InternalName", 64);
    std::string copyright = ReadVersionString(exe, "LegalCopyright", 128);
    std::string title = text::Format(texts::kAboutTitle, product.c_str(), product.c_str(), version.c_str(),
                                     internal.c_str());
    HICON icon = window ? reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON)) : nullptr;
    ShellAboutA(window, title.c_str(), copyright.c_str(), icon);
}
