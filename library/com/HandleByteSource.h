// The core's byte source over the script process's standard-input handle
// (the document file that the editor hands to the script). The handle is
// borrowed: the editor owns it and the library never closes it.
#pragma once

#include <windows.h>

#include "library/core/Ports.h"

class HandleByteSource : public velda::ByteSource {
public:
    explicit HandleByteSource(HANDLE handle = nullptr) : handle_(handle) {}
    void SetHandle(HANDLE handle) { handle_ = handle; }

    std::uint64_t Size() override;
    bool SeekTo(std::uint64_t offset) override;
    std::size_t Read(void* buffer, std::size_t size) override;

private:
    bool Usable() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle_;
};
