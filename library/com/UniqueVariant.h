// Owner of a VARIANT: initialised on construction, cleared on destruction;
// Release moves the value into a caller's [out] VARIANT.
#pragma once

#include <windows.h>
#include <oleauto.h>

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Get() { return &value_; }
    // Moves the value out; the target must hold nothing that needs freeing.
    void Release(VARIANT* target) {
        *target = value_;
        VariantInit(&value_);
    }

private:
    VARIANT value_;
};
