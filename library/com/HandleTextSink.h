// The core's text sink over a standard handle of the script process
// (standard output for the produced text, standard error for messages).
// The handle is borrowed and never closed; a missing handle swallows text.
#pragma once

#include <windows.h>

#include "library/core/Ports.h"

class HandleTextSink : public velda::TextSink {
public:
    explicit HandleTextSink(HANDLE handle = nullptr) : handle_(handle) {}
    void SetHandle(HANDLE handle) { handle_ = handle; }
    void Write(const char* data, std::size_t size) override;

private:
    HANDLE handle_;
};
