#include "library/com/HandleTextSink.h"

void HandleTextSink::Write(const char* data, std::size_t size) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    // A file or pipe takes the whole buffer in one call; the loop only
    // continues after a short write, and a failure ends it (the callers
    // ignore write errors).
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle_, data, chunk, &written, nullptr) || written == 0) return;
        data += written;
        size -= written;
    }
}
