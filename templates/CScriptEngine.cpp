#include "templates/CScriptEngine.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "session/Crc32.h"
#include "templates/CCancelDialog.h"
#include "templates/ScriptEngineTexts.h"

namespace {

// Paths and command lines live in buffers of the system path limit: the
// text and its terminating zero must fit.
constexpr std::size_t kPathBufferSize = MAX_PATH;

constexpr char kPowerShellPrefix[] = "powershell -executionpolicy unrestricted -File";
constexpr char kScriptHostPrefix[] = "cscript //nologo";
constexpr char kScriptHostDebugPrefix[] = "cscript //X //nologo";
constexpr char kQueryPowerShellPrefix[] = "powershell -executionpolicy unrestricted -File ";
constexpr char kQueryScriptHostPrefix[] = "cscript //B //nologo ";

// Every STARTF_ flag the child's start-up information fills in: show state,
// size, position, console size, fill attribute and standard handles.
constexpr DWORD kStartupFlags = STARTF_USESHOWWINDOW | STARTF_USESIZE | STARTF_USEPOSITION |
                                STARTF_USECOUNTCHARS | STARTF_USEFILLATTRIBUTE | STARTF_USESTDHANDLES;
static_assert(kStartupFlags == 0x11F, "start-up flags of a script process");
constexpr DWORD kCreationFlags = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;

bool Fits(const std::string& text) { return text.size() < kPathBufferSize; }

// Length of the folder part of a path, trailing separator included (0 when
// there is none). Walks the text character by character: in code page 932 a
// backslash byte can be the second half of a double-byte character.
std::size_t FolderLength(const std::string& path) {
    std::size_t folder = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (session::IsLeadByte932(c) && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            folder = i + 1;
        }
    }
    return folder;
}

// True for a template whose file name ends in ".ps1" in any case.
bool IsPowerShellScript(const std::string& path) {
    const std::string name = path.substr(FolderLength(path));
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str() + dot, -1,
                                                      ".ps1", -1) == CSTR_EQUAL;
}

// What a run reports describes that run alone: the declaration (name,
// extensions, version, author, comment, help address) and the counters
// start empty, so an earlier run of another template is never shown or
// checked as this one's. The library fills them in as the script goes; a
// script that never reaches it leaves a run that is not reversible.
void ClearRunResults(session::SessionBlock& block) {
    std::memset(block.templateName, 0, sizeof block.templateName);
    std::memset(block.templateExtend, 0, sizeof block.templateExtend);
    block.version = 0;
    std::memset(block.editorName, 0, sizeof block.editorName);
    std::memset(block.comment, 0, sizeof block.comment);
    std::memset(block.helpUri, 0, sizeof block.helpUri);
    block.reversible = 0;
    block.fileSize = 0;
    block.outputBytes = 0;
    block.outputCrc = 0;
}

// Marks the engine busy for one run.
class RunningScope {
public:
    explicit RunningScope(bool& running) : running_(running) { running_ = true; }
    ~RunningScope() { running_ = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    bool& running_;
};

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

// A work file for one run: created anew (an existing one is truncated) with
// a handle the script process inherits as a standard handle.
HANDLE CreateWorkFile(const std::string& path, DWORD attributes) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, attributes, nullptr);
}

// Waits (at most kReleaseLimitMs) until nobody else holds the file. A
// console the system made for the child may live a little longer than the
// child and hold inherited copies of the work files (Wine's console host
// does, for some tens of milliseconds); the caller reads the files at once.
constexpr DWORD kReleaseLimitMs = 2000;

void WaitUntilReleased(const std::string& path) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        UniqueFile alone(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (alone || GetLastError() != ERROR_SHARING_VIOLATION) return;
        if (GetTickCount64() - start >= kReleaseLimitMs) return;
        Sleep(10);
    }
}

void WriteText(HANDLE file, const std::string& text) {
    // The script wrote through its own copy of the handle; append after it.
    LARGE_INTEGER zero = {};
    SetFilePointerEx(file, zero, nullptr, FILE_END);
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0) break;
        p += written;
        left -= written;
    }
}

// The system's own text for an error (neutral language).
std::string SystemMessage(DWORD error) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0,
                       nullptr);
    std::string text;
    if (buffer != nullptr) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    return text;
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The line that tells the user how the run ended, and the run's result.
// long is 32 bits on Windows; the casts keep the printed widths explicit.
std::string ResultLine(DWORD exitCode, const session::SessionBlock& block, long* result) {
    const long code = static_cast<long>(static_cast<std::int32_t>(exitCode));
    if (code != 0) {
        *result = code;
        return Format(texts::kRunAbnormalEnd, code);
    }
    if (block.status < 0) {
        *result = static_cast<long>(block.status);
        return Format(texts::kRunInterrupted, static_cast<long>(block.status));
    }
    *result = 0;
    return Format(texts::kRunFinished, static_cast<unsigned long>(block.outputCrc),
                  static_cast<long>(static_cast<std::int32_t>(block.fileSize)), 0L);
}

// The named block for one run, mapped over its whole size.
class SessionMapping {
public:
    bool Create() {
        mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, session::kBlockSize,
                                          session::kMappingName));
        if (!mapping_) return false;
        view_ = MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0);
        if (view_ == nullptr) {
            mapping_.reset();
            return false;
        }
        return true;
    }
    ~SessionMapping() { Close(); }
    void Close() {
        if (view_ != nullptr) UnmapViewOfFile(view_);
        view_ = nullptr;
        mapping_.reset();
    }
    session::SessionBlock* block() const { return static_cast<session::SessionBlock*>(view_); }

private:
    UniqueHandle mapping_;
    void* view_ = nullptr;
};

// Both handles of a started child.
struct ChildProcess {
    UniqueHandle process;
    UniqueHandle thread;
};

bool StartChild(const std::string& commandLine, const std::string& folder, HANDLE input, HANDLE output,
                HANDLE errors, ChildProcess* child, DWORD* error) {
    // The size the system expects from this build (the 32-bit structure is
    // 68 bytes, the 64-bit one larger); every position, size, count and fill
    // value stays 0.
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = kStartupFlags;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;

    // CreateProcessA may write into the command line.
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, kCreationFlags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        *error = GetLastError();
        return false;
    }
    child->process.reset(info.hProcess);
    child->thread.reset(info.hThread);
    return true;
}

void EndByForce(HANDLE process) {
    TerminateProcess(process, static_cast<UINT>(CScriptEngine::kCancelled));
    WaitForSingleObject(process, INFINITE);
}

}  // namespace

CScriptEngine::CScriptEngine() : master_(session::MakeMasterBlock()), active_(&master_) {}

CScriptEngine::~CScriptEngine() = default;

bool CScriptEngine::SetWorkFiles(const std::string& outputFile, const std::string& messageFile) {
    if (!Fits(outputFile) || !Fits(messageFile)) return false;
    outputFile_ = outputFile;
    messageFile_ = messageFile;
    return true;
}

bool CScriptEngine::SetLibraryFolder(const std::string& folder) {
    if (!Fits(folder)) return false;
    libraryFolder_ = folder;
    return true;
}

long CScriptEngine::RunTemplate(HANDLE file, const std::string& fileName, const std::string& templatePath,
                                HWND frame) {
    // One run at a time: the work files and the block belong to the run
    // under way, which pumps messages while its progress dialog shows.
    if (running_) return -1;
    RunningScope running(running_);
    lastExitCode_ = 0;
    lastRunStarted_ = false;
    lastCommandLine_.clear();

    // The host: PowerShell for .ps1 whatever SHIFT says; cscript otherwise,
    // in its debugger when SHIFT is down as the run starts.
    const char* prefix = IsPowerShellScript(templatePath) ? kPowerShellPrefix
                         : ShiftDown()                    ? kScriptHostDebugPrefix
                                                          : kScriptHostPrefix;
    // The path is quoted, so blanks reach the host intact; the line ends in
    // a blank.
    const std::string commandLine = std::string(prefix) + " \"" + templatePath + "\" ";
    if (!Fits(templatePath) || !Fits(commandLine)) return -1;
    const std::string folder = templatePath.substr(0, FolderLength(templatePath));

    UniqueFile output(CreateWorkFile(outputFile_, FILE_ATTRIBUTE_NORMAL));
    if (!output) return -1;
    UniqueFile messages(CreateWorkFile(messageFile_, FILE_ATTRIBUTE_TEMPORARY));
    if (!messages) return -1;

    // The frame gets back the state it had (a dialog may have disabled it).
    const bool frameWasEnabled = frame != nullptr && IsWindowEnabled(frame);
    if (frame != nullptr) EnableWindow(frame, FALSE);
    lastCommandLine_ = commandLine;

    // Without the mapping the script still starts; the library then refuses
    // to, and the master copy stays as it was.
    SessionMapping mapping;
    if (mapping.Create()) {
        active_ = mapping.block();
        std::memcpy(active_, &master_, sizeof master_);
        active_->status = 0;
        active_->errorOffset = 0;
        session::CopyTextField(active_->fileName, session::kFileNameWidth, fileName.data(), fileName.size());
        ClearRunResults(*active_);
    }

    // The document's handle is not inheritable; the child gets its own
    // inheritable duplicate, which shares the file position (the start).
    // It may only read: before a save the file is the one about to replace
    // the user's.
    UniqueFile input;
    if (file != nullptr && file != INVALID_HANDLE_VALUE) {
        HANDLE duplicate = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &duplicate, GENERIC_READ, TRUE, 0)) {
            input.reset(duplicate);
        }
    }

    long result = -1;
    ChildProcess child;
    DWORD startError = 0;
    if (StartChild(commandLine, folder, input ? input.get() : file, output.get(), messages.get(), &child,
                   &startError)) {
        lastRunStarted_ = true;
        WaitCursor waitCursor;
        // Short runs: plain waits, no messages.
        bool ended = false;
        for (int polls = 0; polls < kPollsBeforeDialog && !ended; ++polls) {
            ended = WaitForSingleObject(child.process.get(), kPollMs) != WAIT_TIMEOUT;
        }
        if (!ended) {
            // Long runs: the progress dialog, the only window that takes
            // input while the frame is disabled.
            CCancelDialog dialog(frame);
            if (dialog.CreateModeless(frame)) {
                SendMessageA(dialog.progress(), PBM_SETRANGE32, 0, kProgressRange);
                SendMessageA(dialog.progress(), PBM_SETPOS, 0, 0);
                ShowWindow(dialog.hwnd(), SW_SHOW);
            }
            for (;;) {
                if (UpdateProgress(*active_, dialog)) {
                    EndByForce(child.process.get());
                    break;
                }
                if (WaitForSingleObject(child.process.get(), kPollMs) != WAIT_TIMEOUT) break;
            }
        }
        DWORD exitCode = 0;
        GetExitCodeProcess(child.process.get(), &exitCode);
        lastExitCode_ = static_cast<long>(static_cast<std::int32_t>(exitCode));
        WriteText(messages.get(), ResultLine(exitCode, *active_, &result));
    } else {
        // The system's text for the failure is the whole message.
        WriteText(messages.get(), SystemMessage(startError));
        result = -1;
    }

    output.reset();
    messages.reset();
    input.reset();
    child.thread.reset();
    child.process.reset();
    WaitUntilReleased(outputFile_);
    WaitUntilReleased(messageFile_);

    if (active_ != &master_) std::memcpy(&master_, active_, sizeof master_);
    active_ = &master_;
    mapping.Close();

    if (frame != nullptr) {
        EnableWindow(frame, frameWasEnabled ? TRUE : FALSE);
        SetActiveWindow(frame);
    }
    return result;
}

bool CScriptEngine::UpdateProgress(const session::SessionBlock& block, CCancelDialog& dialog) {
    const HWND bar = dialog.progress();
    if (block.fileSize > 0 && bar != nullptr) {
        const std::uint64_t position =
            static_cast<std::uint64_t>(block.outputBytes) * static_cast<std::uint64_t>(kProgressRange) / block.fileSize;
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            // A quit request belongs to the application's own loop: leave it
            // there for when the run is over.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        // Escape and Enter in the modeless dialog become its commands.
        if (dialog.hwnd() != nullptr && IsDialogMessageA(dialog.hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return dialog.cancelRequested();
}

long CScriptEngine::QueryTemplateInfo(const std::string& templatePath, char* extensions) {
    long result = -1;
    if (extensions != nullptr) extensions[0] = '\0';
    if (running_) return -1;
    RunningScope running(running_);

    const char* prefix = IsPowerShellScript(templatePath) ? kQueryPowerShellPrefix : kQueryScriptHostPrefix;
    const std::string commandLine = std::string(prefix) + "\"" + templatePath + "\"";
    if (!Fits(templatePath) || !Fits(commandLine)) return -1;

    SessionMapping mapping;
    if (!mapping.Create()) return -1;
    // A fresh block, even when another run left the mapping open.
    session::SessionBlock* block = mapping.block();
    std::memset(block, 0, sizeof *block);
    block->blockSize = session::kBlockSize;
    block->status = 0;
    block->errorOffset = 0;

    ChildProcess child;
    DWORD startError = 0;
    if (StartChild(commandLine, libraryFolder_, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE,
                   &child, &startError)) {
        bool timedOut = WaitForSingleObject(child.process.get(), kQueryLimitMs) == WAIT_TIMEOUT;
        if (timedOut) {
            TerminateThread(child.thread.get(), 0);
            EndByForce(child.process.get());
        }
        DWORD exitCode = 0;
        GetExitCodeProcess(child.process.get(), &exitCode);
        // Ending the main thread may leave the exit code 0: a template ended
        // by force must never pass for one that answered.
        result = timedOut ? kCancelled : static_cast<long>(static_cast<std::int32_t>(exitCode));
    }

    // Whatever the template declared, also when it had to be ended.
    if (extensions != nullptr) {
        session::CopyTextField(extensions, kExtensionsSize, block->templateExtend,
                               strnlen(block->templateExtend, session::kTemplateExtendWidth));
    }
    return result;
}
