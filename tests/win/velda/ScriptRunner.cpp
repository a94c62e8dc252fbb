#include "ScriptRunner.h"

#include <cstring>
#include <vector>

#include "TestFiles.h"

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { Reset(); }
    void Reset(HANDLE handle = nullptr) {
        if (Valid()) CloseHandle(handle_);
        handle_ = handle;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

struct View {
    void* address = nullptr;
    ~View() {
        if (address != nullptr) UnmapViewOfFile(address);
    }
};

HANDLE OpenInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    // A message box is a dialog of the standard dialog class; it is shown
    // only once its texts and buttons are in place.
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

BOOL CALLBACK CollectStaticTexts(HWND child, LPARAM parameter) {
    auto* texts = reinterpret_cast<std::wstring*>(parameter);
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, L"Static") == 0) {
        const std::wstring text = WindowText(child);
        if (!text.empty()) {
            if (!texts->empty()) texts->push_back(L'\n');
            *texts += text;
        }
    }
    return TRUE;
}

// Presses OK on the start-up box of the script process, if it shows one.
bool DismissStartupBox(DWORD processId, ScriptResult* result) {
    BoxSearch search = {processId, nullptr};
    EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return false;
    result->boxSeen = true;
    result->boxCaption = WindowText(search.found);
    result->boxText.clear();
    EnumChildWindows(search.found, CollectStaticTexts, reinterpret_cast<LPARAM>(&result->boxText));
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}

}  // namespace

session::SessionBlock MakeRunBlock(unsigned unitSize, bool bigEndian, int lineBytes, int separator,
                                   const char* fileName) {
    session::SessionBlock block = session::MakeMasterBlock();
    session::SetDataFormat(block, unitSize, bigEndian);
    block.lineBytes = lineBytes;
    block.separator = static_cast<std::int16_t>(separator);
    block.status = 0;
    block.errorOffset = 0;
    session::CopyTextField(block.fileName, session::kFileNameWidth, fileName, std::strlen(fileName));
    return block;
}

ScriptResult RunScript(const ScriptRequest& request) {
    ScriptResult result;
    const std::wstring inputPath = Join(request.workFolder, L"input.bin");
    const std::wstring outputPath = Join(request.workFolder, L"output.txt");
    const std::wstring errorPath = Join(request.workFolder, L"errors.txt");

    Handle mapping;
    View view;
    if (request.block) {
        SetLastError(0);
        HANDLE created = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, session::kBlockSize,
                                            session::kMappingName);
        const DWORD error = GetLastError();
        mapping.Reset(created);
        if (!mapping.Valid() || error == ERROR_ALREADY_EXISTS) {
            result.failure = "the mapping VeldaShare could not be created fresh (another run holds it?)";
            return result;
        }
        view.address = MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0);
        if (view.address == nullptr) {
            result.failure = "the mapping could not be mapped";
            return result;
        }
        std::memcpy(view.address, &*request.block, session::kBlockSize);
    }

    Handle input, output, errors;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (request.withHandles) {
        if (!WriteWholeFile(inputPath, request.input)) {
            result.failure = "the input file could not be written";
            return result;
        }
        input.Reset(OpenInheritable(inputPath, GENERIC_READ, OPEN_EXISTING));
        output.Reset(OpenInheritable(outputPath, GENERIC_WRITE, CREATE_ALWAYS));
        errors.Reset(OpenInheritable(errorPath, GENERIC_WRITE, CREATE_ALWAYS));
        if (!input.Valid() || !output.Valid() || !errors.Valid()) {
            result.failure = "the standard handle files could not be opened";
            return result;
        }
        startup.hStdInput = input.Get();
        startup.hStdOutput = output.Get();
        startup.hStdError = errors.Get();
    } else {
        startup.hStdInput = INVALID_HANDLE_VALUE;
        startup.hStdOutput = INVALID_HANDLE_VALUE;
        startup.hStdError = INVALID_HANDLE_VALUE;
    }

    std::wstring commandLine = L"cscript //nologo \"" + request.script + L"\" ";
    std::vector<wchar_t> commandBuffer(commandLine.begin(), commandLine.end());
    commandBuffer.push_back(L'\0');
    PROCESS_INFORMATION process = {};
    // Under a loaded Wine session process creation now and then fails for a
    // moment; a few tries keep that from failing a test about the library.
    DWORD startError = 0;
    for (int attempt = 0; attempt < 3 && !result.started; ++attempt) {
        if (attempt > 0) Sleep(500);
        result.started = CreateProcessW(nullptr, commandBuffer.data(), nullptr, nullptr, TRUE,
                                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                                        request.workFolder.c_str(), &startup, &process) != FALSE;
        if (!result.started) startError = GetLastError();
    }
    if (result.started) {
        Handle processHandle(process.hProcess);
        Handle threadHandle(process.hThread);
        const ULONGLONG deadline = GetTickCount64() + request.timeoutMs;
        for (;;) {
            if (WaitForSingleObject(process.hProcess, 50) != WAIT_TIMEOUT) break;
            if (request.dismissStartupBox && !result.boxSeen) DismissStartupBox(process.dwProcessId, &result);
            if (GetTickCount64() >= deadline) {
                result.timedOut = true;
                TerminateProcess(process.hProcess, static_cast<UINT>(-2000));
                WaitForSingleObject(process.hProcess, INFINITE);
                break;
            }
        }
        GetExitCodeProcess(process.hProcess, &result.exitCode);
    } else {
        result.failure = "cscript could not be started (error " + std::to_string(startError) + ")";
    }

    // The script's files are complete once it has ended; close ours first.
    input.Reset();
    output.Reset();
    errors.Reset();
    if (request.withHandles) {
        result.output = ReadWholeFile(outputPath);
        result.errors = ReadWholeFile(errorPath);
    }
    if (view.address != nullptr) std::memcpy(&result.block, view.address, session::kBlockSize);
    return result;
}
