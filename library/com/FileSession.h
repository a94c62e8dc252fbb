// What a File object is attached to: the editor's session block in the named
// mapping "VeldaShare" and the script process's three standard handles.
// The mapping and view are owned here and released with the object; the
// standard handles belong to the process and are never closed.
#pragma once

#include <windows.h>

#include "library/com/HandleByteSource.h"
#include "library/com/HandleTextSink.h"
#include "library/com/MappedView.h"
#include "library/com/UniqueHandle.h"
#include "session/SessionBlock.h"

class FileSession {
public:
    enum class Result {
        Attached,
        NoMapping,    // the editor did not start this script; see lastError()
        Failed,       // see failure()
    };

    FileSession() = default;
    FileSession(const FileSession&) = delete;
    FileSession& operator=(const FileSession&) = delete;

    // Opens and maps the session block, checks its size and takes the
    // standard handles. On failure nothing stays open.
    Result Attach();
    DWORD lastError() const { return lastError_; }
    HRESULT failure() const { return failure_; }

    // The editor did not start the script: the system's text for the error
    // goes to standard error, a message box asks the user to start the
    // template from the editor, and the script process ends with exit code 0.
    [[noreturn]] static void EndNotStartedFromEditor(DWORD error);

    session::SessionBlock& block() { return *block_; }
    HandleByteSource& input() { return input_; }
    HandleTextSink& output() { return output_; }
    HandleTextSink& errors() { return errors_; }
    // True when the process has a standard input at all; the editor's
    // information query starts templates without one.
    bool HasInput() const { return inputHandle_ != nullptr && inputHandle_ != INVALID_HANDLE_VALUE; }

private:
    UniqueHandle mapping_;
    MappedView view_;
    session::SessionBlock* block_ = nullptr;
    HANDLE inputHandle_ = nullptr;
    HandleByteSource input_;
    HandleTextSink output_;
    HandleTextSink errors_;
    DWORD lastError_ = 0;
    HRESULT failure_ = S_OK;
};
