// Owner of a view mapped with MapViewOfFile: unmapped once, on every path.
#pragma once

#include <windows.h>

class MappedView {
public:
    MappedView() = default;
    ~MappedView() { Reset(); }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* Get() const { return address_; }
    void Reset(void* address = nullptr) {
        if (address_ != nullptr) UnmapViewOfFile(address_);
        address_ = address;
    }

private:
    void* address_ = nullptr;
};
