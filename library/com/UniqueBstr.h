// Owner of a BSTR: freed once; Release hands it to a caller's [out] pointer.
#pragma once

#include <windows.h>
#include <oleauto.h>

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR text) : text_(text) {}
    ~UniqueBstr() { SysFreeString(text_); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const { return text_; }
    BSTR Release() {
        BSTR text = text_;
        text_ = nullptr;
        return text;
    }
    void Reset(BSTR text = nullptr) {
        if (text != text_) SysFreeString(text_);
        text_ = text;
    }

private:
    BSTR text_ = nullptr;
};
