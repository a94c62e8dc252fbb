#include "document/TextFidelity.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/CFile.h"

namespace text_fidelity {
namespace {

constexpr UINT kCodePage = 932;
constexpr std::size_t kChunk = 64 * 1024;

// True when the bytes convert to UTF-16 and back to exactly themselves.
bool MapsBothWays(const char* bytes, int size) {
    if (size == 0) return true;
    const int wide = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (wide <= 0) return false;
    std::vector<wchar_t> text(static_cast<std::size_t>(wide));
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, size, text.data(), wide);
    BOOL defaulted = FALSE;
    const int narrow = WideCharToMultiByte(kCodePage, 0, text.data(), wide, nullptr, 0, nullptr, &defaulted);
    if (narrow != size || defaulted) return false;
    std::vector<char> back(static_cast<std::size_t>(narrow));
    WideCharToMultiByte(kCodePage, 0, text.data(), wide, back.data(), narrow, nullptr, nullptr);
    return std::memcmp(back.data(), bytes, static_cast<std::size_t>(size)) == 0;
}

}  // namespace

unsigned TextModeLosses(CFile& file) {
    unsigned losses = kNoLoss;
    file.SeekToBegin();
    // Room for a chunk and the lead byte held back from the one before,
    // whose trail byte comes with this one.
    std::vector<char> buffer(kChunk + 1);
    std::size_t held = 0;
    char previous = '\0';
    for (;;) {
        const std::size_t got = file.Read(buffer.data() + held, kChunk);
        const std::size_t size = held + got;
        const char* bytes = buffer.data();
        for (std::size_t i = held; i < size; ++i) {
            const char c = bytes[i];
            if (c == '\0') losses |= kNul;
            if ((c == '\n') != (previous == '\r')) losses |= kLoneLineEnd;
            previous = c;
        }
        if (got == 0) {
            // The end: a CR last in the file stands alone, and so does a
            // lead byte without its trail byte.
            if (previous == '\r') losses |= kLoneLineEnd;
            if (!MapsBothWays(bytes, static_cast<int>(size))) losses |= kInvalidSequence;
            break;
        }
        // Convert up to the last whole character; a lead byte at the end
        // waits for the next chunk.
        std::size_t whole = 0;
        while (whole < size) {
            const std::size_t step = IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(bytes[whole])) ? 2 : 1;
            if (whole + step > size) break;
            whole += step;
        }
        if (!MapsBothWays(bytes, static_cast<int>(whole))) losses |= kInvalidSequence;
        held = size - whole;
        std::memmove(buffer.data(), bytes + whole, held);
    }
    file.SeekToBegin();
    return losses;
}

}  // namespace text_fidelity
