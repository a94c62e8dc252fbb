// Owner of a SAFEARRAY under construction: destroyed unless handed over.
#pragma once

#include <windows.h>
#include <oleauto.h>

class SafeArrayOwner {
public:
    explicit SafeArrayOwner(SAFEARRAY* array) : array_(array) {}
    ~SafeArrayOwner() {
        if (array_ != nullptr) SafeArrayDestroy(array_);
    }
    SafeArrayOwner(const SafeArrayOwner&) = delete;
    SafeArrayOwner& operator=(const SafeArrayOwner&) = delete;

    SAFEARRAY* Get() const { return array_; }
    SAFEARRAY* Release() {
        SAFEARRAY* array = array_;
        array_ = nullptr;
        return array;
    }

private:
    SAFEARRAY* array_;
};
