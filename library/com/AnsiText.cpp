#include "library/com/AnsiText.h"

#include <climits>

std::string AnsiFromBstr(BSTR text) {
    const UINT length = SysStringLen(text);
    if (length == 0) return std::string();
    const int wideLength = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string result(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &result[0], needed, nullptr, nullptr);
    return result;
}

BSTR BstrFromAnsi(const char* text, std::size_t length) {
    if (length == 0) return SysAllocStringLen(L"", 0);
    const int narrowLength = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, narrowLength, nullptr, 0);
    if (needed <= 0) return SysAllocStringLen(L"", 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(needed));
    if (result == nullptr) return nullptr;
    MultiByteToWideChar(CP_ACP, 0, text, narrowLength, result, needed);
    return result;
}
