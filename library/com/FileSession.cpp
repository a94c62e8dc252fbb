#include "library/com/FileSession.h"

#include "library/com/VeldaTexts.h"

FileSession::Result FileSession::Attach() {
    mapping_.Reset(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, session::kMappingNameW));
    if (!mapping_.Valid()) {
        lastError_ = GetLastError();
        mapping_.Reset();
        return Result::NoMapping;
    }
    view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (view_.Get() == nullptr) {
        mapping_.Reset();
        failure_ = E_OUTOFMEMORY;
        return Result::Failed;
    }
    // A view covers whole pages, so the 1524 bytes are readable even if the
    // mapping was created smaller; the size word tells whether it is ours.
    auto* block = static_cast<session::SessionBlock*>(view_.Get());
    if (block->blockSize != session::kBlockSize) {
        view_.Reset();
        mapping_.Reset();
        failure_ = static_cast<HRESULT>(0x80010110);
        return Result::Failed;
    }
    block_ = block;

    inputHandle_ = GetStdHandle(STD_INPUT_HANDLE);
    input_.SetHandle(inputHandle_);
    output_.SetHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    errors_.SetHandle(GetStdHandle(STD_ERROR_HANDLE));
    return Result::Attached;
}

void FileSession::EndNotStartedFromEditor(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    if (length > 0 && text != nullptr) {
        HandleTextSink(GetStdHandle(STD_ERROR_HANDLE)).Write(text, length);
    }
    if (text != nullptr) LocalFree(text);
    MessageBoxA(nullptr, velda_texts::kStartFromEditor, velda_texts::kStartupErrorCaption, MB_OK | MB_ICONERROR);
    ExitProcess(0);
}
