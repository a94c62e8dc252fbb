#include "framework/Strings.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "framework/StandardIds.h"

namespace text {

std::string Load(unsigned id) {
    // LoadStringA with a zero length would return a read-only pointer to the
    // UTF-16 resource; ask with a growing buffer instead.
    std::vector<char> buffer(256);
    for (;;) {
        int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0) return std::string();
        if (static_cast<std::size_t>(n) < buffer.size() - 2) return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (n > 0) {
        result.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(&result[0], result.size(), format, args);
        result.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    return result;
}

std::string PromptOf(const std::string& entry) {
    auto nl = entry.find('\n');
    return nl == std::string::npos ? entry : entry.substr(0, nl);
}

std::string TooltipOf(const std::string& entry) {
    auto nl = entry.find('\n');
    return nl == std::string::npos ? std::string() : entry.substr(nl + 1);
}

std::string WindowText(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    if (n <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(n) + 2);
    int got = GetWindowTextA(hwnd, buffer.data(), n + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

std::string StatusPaneText(HWND bar, int pane) {
    const int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
    if (length <= 0) return std::string();
    std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(wide.data()));
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, &text[0], n, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(n - 1));
    return text;
}

namespace {

// Position of the last path separator, stepping over double-byte
// characters: the second byte of a code page 932 character may be a
// backslash.
std::string::size_type LastSeparator(const std::string& path) {
    std::string::size_type last = std::string::npos;
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsDBCSLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') last = i;
    }
    return last;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    auto sep = LastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string ExtensionOf(const std::string& path) {
    std::string name = FileNameOf(path);
    std::string::size_type dot = std::string::npos;
    for (std::string::size_type i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsDBCSLeadByte(c) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (c == '.') dot = i;
    }
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string FolderOf(const std::string& path) {
    auto sep = LastSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

int Message(HWND owner, const std::string& message, const std::string& caption, UINT flags) {
    std::string title = caption.empty() ? Load(ids::kAppTitle) : caption;
    return MessageBoxA(owner, message.c_str(), title.c_str(), flags);
}

}  // namespace text
