#include "library/com/HandleByteSource.h"

std::uint64_t HandleByteSource::Size() {
    LARGE_INTEGER size;
    if (!Usable() || !GetFileSizeEx(handle_, &size) || size.QuadPart < 0) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool HandleByteSource::SeekTo(std::uint64_t offset) {
    if (!Usable() || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle_, distance, nullptr, FILE_BEGIN) != FALSE;
}

std::size_t HandleByteSource::Read(void* buffer, std::size_t size) {
    if (!Usable() || size == 0) return 0;
    // One read call, as the core expects; the core never asks for more than
    // a block, so the DWORD limit only matters for absurd requests.
    const DWORD wanted = size > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, wanted, &got, nullptr)) return 0;
    return got;
}
