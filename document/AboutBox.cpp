#include "document/AboutBox.h"

#include <shellapi.h>

#include <vector>

#include "document/DocumentTexts.h"
#include "framework/Strings.h"

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
    std::string result(value);
    if (result.size() > size - 1) result.resize(size - 1);
    return result;
}

void ShowAboutBox(HWND window) {
    char exe[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string product = ReadVersionString(exe, "ProductName", 64);
    std::string version = ReadVersionString(exe, "FileVersion", 16);
    auto comma = version.rfind(',');
    if (comma != std::string::npos) version.resize(comma);
    std::string internal = ReadVersionString(exe, "InternalName", 64);
    std::string copyright = ReadVersionString(exe, "LegalCopyright", 128);
    std::string title = text::Format(texts::kAboutTitle, product.c_str(), product.c_str(), version.c_str(),
                                     internal.c_str());
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    ShellAboutA(window, title.c_str(), copyright.c_str(), icon);
}
