#include "PramelSession.h"

#include <algorithm>

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace gui {

namespace {

const char kFrameClass[] = "PramelMainFrame";
const char kViewClass[] = "PramelRichEditView";
const char kSettingsKey[] = "Software\\Tevrin\\Pramel";
constexpr DWORD kSendTimeout = 20000;

std::string ClassOf(HWND w) {
    char name[128] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

// A window's text, read into a buffer of room bytes.
// Texts cross from the editor as UTF-16 and are converted here: Wine's
// ANSI answers to another process drop texts with double-byte characters.
// room: characters, terminator included.
std::string TextInto(HWND w, std::size_t room) {
    std::wstring wide(room, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, room, reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG, kSendTimeout,
                        &got);
    wide.resize(std::min<std::size_t>(got, room));
    if (wide.empty()) return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    }
    return text;
}

std::string TextOf(HWND w) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length)) return {};
    return TextInto(w, length + 1);
}

struct WindowSearch {
    DWORD pid;
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == search->pid && IsWindowVisible(w) && ClassOf(w) == search->className) search->found.push_back(w);
    return TRUE;
}

std::vector<HWND> TopLevel(DWORD pid, const std::string& className) {
    WindowSearch search{pid, className, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    int id;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(w) == search->id && (search->className.empty() || ClassOf(w) == search->className)) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND DescendantById(HWND parent, int id, const std::string& className = {}) {
    ChildSearch search{id, className};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A buffer in the editor's address space, for control messages that pass
// pointers and are not carried across processes by the system.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, std::size_t size) : process_(process), size_(size) {
        address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    explicit operator bool() const { return address_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    void Write(const void* data, std::size_t size) const {
        SIZE_T done = 0;
        WriteProcessMemory(process_, address_, data, size < size_ ? size : size_, &done);
    }
    void ReadInto(void* data, std::size_t size) const {
        SIZE_T done = 0;
        ReadProcessMemory(process_, address_, data, size < size_ ? size : size_, &done);
    }
    std::string Read() const {
        std::string data(size_, '\0');
        SIZE_T got = 0;
        ReadProcessMemory(process_, address_, &data[0], size_, &got);
        data.resize(got);
        return data.c_str();
    }

private:
    HANDLE process_;
    std::size_t size_;
    void* address_ = nullptr;
};

BOOL CALLBACK LongestStatic(HWND w, LPARAM lp) {
    auto* longest = reinterpret_cast<std::string*>(lp);
    if (ClassOf(w) == "Static") {
        std::string text = TextOf(w);
        if (text.size() > longest->size()) *longest = text;
    }
    return TRUE;
}

// The message of a message box: its longest static text.
std::string MessageText(HWND dialog) {
    std::string longest;
    EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

std::string TestFolder() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\'));
    return folder;
}

// Where a module is loaded in another process (nullptr if it is not).
char* RemoteModuleBase(DWORD pid, const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    char* base = nullptr;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szModule, name) == 0) {
            base = reinterpret_cast<char*>(entry.modBaseAddr);
            break;
        }
    }
    CloseHandle(snapshot);
    return base;
}

// Runs start(parameter) on a new thread of the process; the thread's exit
// code, or 0xFFFFFFFF when it could not run.
DWORD RunRemoteThread(HANDLE process, void* start, LPARAM parameter) {
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start),
                                       reinterpret_cast<void*>(parameter), 0, nullptr);
    if (!thread) return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFF;
    if (WaitForSingleObject(thread, 20000) != WAIT_OBJECT_0 || !GetExitCodeThread(thread, &code)) code = 0xFFFFFFFF;
    CloseHandle(thread);
    return code;
}

void MoveMouseTo(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    // The window learns of the move as it would from the mouse itself.
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
}

}  // namespace

std::string PramelPath() {
    if (const char* exe = std::getenv("PRAMEL_EXE"); exe && *exe) return exe;
    return TestFolder() + "\\Pramel.exe";
}

std::string ScratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "pramel-gui";
    CreateDirectoryA(root.c_str(), nullptr);
    std::string folder = root + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    // Empty it: files from an earlier run would mislead the test.
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string path = folder + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

void ResetSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    SetSetting("System", "Version", 59);
}

void SetSetting(const std::string& section, const std::string& entry, DWORD value) {
    HKEY key = nullptr;
    std::string path = std::string(kSettingsKey) + "\\" + section;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

bool GetSetting(const std::string& section, const std::string& entry, DWORD* value) {
    std::string path = std::string(kSettingsKey) + "\\" + section;
    DWORD size = sizeof *value;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), entry.c_str(), RRF_RT_REG_DWORD, nullptr, value, &size) ==
           ERROR_SUCCESS;
}

std::string ScreenshotFolder() {
    const char* folder = std::getenv("PRAMEL_SCREENSHOTS");
    return folder ? folder : ".";
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return condition();
        Sleep(50);
    }
}

PramelSession::PramelSession(const std::string& arguments, bool waitForFrame) {
    std::string command = "\"" + PramelPath() + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    // A busy Wine session now and then refuses a new process for a moment.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) break;
        std::fprintf(stderr, "cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        pi_ = PROCESS_INFORMATION{};
        Sleep(1000);
    }
    if (!pi_.hProcess) return;
    if (waitForFrame && Frame()) Settle();
}

PramelSession::~PramelSession() {
    if (!pi_.hProcess) return;
    if (running()) Quit();
    if (running()) TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool PramelSession::running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

long PramelSession::WaitForExit(DWORD timeoutMs) {
    if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

std::vector<HWND> PramelSession::Frames() const { return TopLevel(pi_.dwProcessId, kFrameClass); }

HWND PramelSession::Frame(DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        auto frames = Frames();
        if (!frames.empty()) return frames.front();
        if (!running() || GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::string PramelSession::FrameTitle(HWND frame) const { return TextOf(frame ? frame : Frame()); }

HWND PramelSession::Control(HWND frame) const {
    HWND view = FindWindowExA(frame ? frame : Frame(), nullptr, kViewClass, nullptr);
    return view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
}

std::string PramelSession::Text(HWND frame) const {
    // Wine answers a WM_GETTEXTLENGTH from another process with 0 once the
    // text holds double-byte characters. The control's own count (in
    // characters, a line break counting as one) bounds the text at two
    // bytes a character.
    return RichText(Control(frame));
}

std::string PramelSession::RichText(HWND control) const {
    GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
    auto length = static_cast<long>(SendWithStruct(control, EM_GETTEXTLENGTHEX, 0, 0, &request, sizeof request, true));
    return length > 0 ? TextInto(control, static_cast<std::size_t>(length) * 2 + 2) : std::string();
}

void PramelSession::SetText(const std::string& text, HWND frame) const {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(Control(frame), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kSendTimeout, &r);
}

void PramelSession::TypeOver(long start, long end, const std::string& chars, HWND frame) const {
    HWND control = Control(frame);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(control, EM_SETSEL, static_cast<WPARAM>(start), end, SMTO_ABORTIFHUNG, kSendTimeout, &r);
    for (char c : chars) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    Settle();
}

LRESULT PramelSession::SendWithStruct(HWND window, UINT msg, WPARAM wp, LPARAM lp, void* data, std::size_t size,
                                      bool pointerInWParam) const {
    RemoteBuffer buffer(pi_.hProcess, size);
    if (!buffer) return 0;
    buffer.Write(data, size);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(window, msg, pointerInWParam ? static_cast<WPARAM>(buffer.address()) : wp,
                        pointerInWParam ? lp : buffer.address(), SMTO_ABORTIFHUNG, kSendTimeout, &r);
    buffer.ReadInto(data, size);
    return static_cast<LRESULT>(r);
}

CHARRANGE PramelSession::Selection(HWND frame) const {
    CHARRANGE range{-1, -1};
    SendWithStruct(Control(frame), EM_EXGETSEL, 0, 0, &range, sizeof range);
    return range;
}

void PramelSession::Select(long start, long end, HWND frame) const {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(Control(frame), EM_SETSEL, static_cast<WPARAM>(start), end, SMTO_ABORTIFHUNG, kSendTimeout, &r);
}

POINT PramelSession::CharPosition(long index, HWND frame) const {
    POINTL at{-1, -1};
    SendWithStruct(Control(frame), EM_POSFROMCHAR, 0, index, &at, sizeof at, true);
    return POINT{at.x, at.y};
}

CHARFORMAT2A PramelSession::DefaultCharFormat(HWND frame) const {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendWithStruct(Control(frame), EM_GETCHARFORMAT, SCF_DEFAULT, 0, &format, sizeof format);
    return format;
}

long PramelSession::TextLength(HWND frame) const {
    GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
    return static_cast<long>(SendWithStruct(Control(frame), EM_GETTEXTLENGTHEX, 0, 0, &request, sizeof request, true));
}

long PramelSession::LineCount(HWND frame) const {
    DWORD_PTR lines = 0;
    SendMessageTimeoutA(Control(frame), EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &lines);
    return static_cast<long>(lines);
}

HWND PramelSession::FindBox(HWND frame) const { return DescendantById(frame ? frame : Frame(), 101, "ComboBox"); }

void PramelSession::SetFindBoxText(const std::string& text, HWND frame) const {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(FindBox(frame), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kSendTimeout, &r);
}

std::string PramelSession::FindBoxText(HWND frame) const { return TextOf(FindBox(frame)); }

std::vector<std::string> PramelSession::FindBoxHistory(HWND frame) const {
    HWND box = FindBox(frame);
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(box, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &count);
    for (DWORD_PTR i = 0; i < count && i < 1000; ++i) {
        // The list keeps its items as Unicode and hands them over as such
        // (it has no CBS_HASSTRINGS style for the system to convert by).
        DWORD_PTR length = 0;
        SendMessageTimeoutW(box, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length);
        std::wstring item(length + 1, L'\0');
        DWORD_PTR got = 0;
        SendMessageTimeoutW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]), SMTO_ABORTIFHUNG, kSendTimeout,
                            &got);
        std::string narrow(item.size() * 2 + 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, item.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()), nullptr, nullptr);
        items.push_back(narrow.c_str());
    }
    return items;
}

void PramelSession::MoveMouseToText(HWND frame) const {
    HWND control = Control(frame);
    RECT rc{};
    GetClientRect(control, &rc);
    MoveMouseTo(control, POINT{rc.right / 2, rc.bottom / 2});
    Settle();
}

std::string PramelSession::HoverToolButton(int barId, UINT command, HWND frame) const {
    HWND f = frame ? frame : Frame();
    HWND bar = DescendantById(f, barId, TOOLBARCLASSNAMEA);
    if (!bar) return {};
    DWORD_PTR index = 0;
    SendMessageTimeoutA(bar, TB_COMMANDTOINDEX, command, 0, SMTO_ABORTIFHUNG, kSendTimeout, &index);
    RECT rc{};
    if (!SendWithStruct(bar, TB_GETITEMRECT, index, 0, &rc, sizeof rc)) return {};
    DWORD_PTR tip = 0;
    SendMessageTimeoutA(bar, TB_GETTOOLTIPS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &tip);
    HWND tooltip = reinterpret_cast<HWND>(tip);
    // Come from outside the bar, so that the button becomes hot and its
    // tooltip starts afresh.
    MoveMouseToText(f);
    MoveMouseTo(bar, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    std::string text;
    WaitUntil([&] {
        text = IsWindowVisible(tooltip) ? TextOf(tooltip) : std::string();
        return !text.empty();
    });
    Settle();
    return text;
}

UINT PramelSession::MenuItemState(UINT command, HWND frame) const {
    struct Request {
        HWND frame;
        UINT command;
    } request{frame ? frame : Frame(), command};
    RemoteBuffer buffer(pi_.hProcess, sizeof request);
    if (!buffer) return 0xFFFFFFFF;
    buffer.Write(&request, sizeof request);
    return CallProbe("ProbeMenuItemState", reinterpret_cast<void*>(buffer.address()));
}

namespace {

// Shared with the probe's page layout stand-in (same layout).
struct PageLog {
    HWND control;
    LONG charsPerPage;
    LONG count;
    PramelSession::PageRequest pages[64];
};

}  // namespace

bool PramelSession::StandInPageLayout(long charsPerPage, HWND frame) {
    if (!pageLog_) {
        pageLog_ = VirtualAllocEx(pi_.hProcess, nullptr, sizeof(PageLog), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!pageLog_) return false;
    }
    PageLog log{};
    log.control = Control(frame);
    log.charsPerPage = charsPerPage;
    SIZE_T done = 0;
    WriteProcessMemory(pi_.hProcess, pageLog_, &log, sizeof log, &done);
    return CallProbe("ProbeStandInPageLayout", pageLog_) == 1;
}

std::vector<PramelSession::PageRequest> PramelSession::PageRequests() const {
    if (!pageLog_) return {};
    PageLog log{};
    SIZE_T done = 0;
    ReadProcessMemory(pi_.hProcess, pageLog_, &log, sizeof log, &done);
    LONG count = log.count < 0 ? 0 : log.count > 64 ? 64 : log.count;
    return std::vector<PageRequest>(log.pages, log.pages + count);
}

DWORD PramelSession::CallProbe(const char* function, void* parameter) const {
    static const std::string path = TestFolder() + "\\pramel_gui_probe.dll";
    static HMODULE local = LoadLibraryA(path.c_str());
    FARPROC localFunction = local ? GetProcAddress(local, function) : nullptr;
    if (!localFunction) return 0xFFFFFFFF;
    char* remote = RemoteModuleBase(pi_.dwProcessId, L"pramel_gui_probe.dll");
    if (!remote) {
        // Load it there: LoadLibraryA on a thread of the editor.
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        char* remoteKernel = RemoteModuleBase(pi_.dwProcessId, L"kernel32.dll");
        if (!remoteKernel) return 0xFFFFFFFF;
        auto* loadLibrary = reinterpret_cast<char*>(GetProcAddress(kernel, "LoadLibraryA"));
        RemoteBuffer name(pi_.hProcess, path.size() + 1);
        name.Write(path.c_str(), path.size() + 1);
        RunRemoteThread(pi_.hProcess, remoteKernel + (loadLibrary - reinterpret_cast<char*>(kernel)), name.address());
        remote = RemoteModuleBase(pi_.dwProcessId, L"pramel_gui_probe.dll");
        if (!remote) return 0xFFFFFFFF;
    }
    char* start = remote + (reinterpret_cast<char*>(localFunction) - reinterpret_cast<char*>(local));
    return RunRemoteThread(pi_.hProcess, start, reinterpret_cast<LPARAM>(parameter));
}

void PramelSession::PressKey(UINT key, HWND frame) const {
    HWND control = Control(frame);
    // Through the editor's queue, as from the keyboard: its message loop
    // makes the characters of the key.
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    Settle();
}

long PramelSession::FirstVisibleLine(HWND frame) const {
    DWORD_PTR line = 0;
    SendMessageTimeoutA(Control(frame), EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &line);
    return static_cast<long>(line);
}

void PramelSession::ScrollToLine(long line, HWND frame) const {
    long first = FirstVisibleLine(frame);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(Control(frame), EM_LINESCROLL, 0, line - first, SMTO_ABORTIFHUNG, kSendTimeout, &r);
}

std::string PramelSession::StatusPane(int pane, HWND frame) const {
    HWND bar = DescendantById(frame ? frame : Frame(), 59393, STATUSCLASSNAMEA);
    if (!bar) return {};
    RemoteBuffer buffer(pi_.hProcess, 512);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(bar, SB_GETTEXTA, static_cast<WPARAM>(pane), buffer.address(), SMTO_ABORTIFHUNG, kSendTimeout,
                        &r);
    return buffer.Read();
}

std::string PramelSession::OutputBarText(HWND frame) const {
    HWND output = DescendantById(frame ? frame : Frame(), 1050, "RichEdit20A");
    return output ? RichText(output) : std::string();
}

HWND PramelSession::Item(int id, HWND frame) const { return DescendantById(frame ? frame : Frame(), id); }

std::string PramelSession::ItemText(int id, HWND frame) const {
    HWND item = Item(id, frame);
    return item ? TextOf(item) : std::string();
}

void PramelSession::Post(UINT command, HWND frame) const { PostMessageA(frame ? frame : Frame(), WM_COMMAND, command, 0); }

void PramelSession::Send(UINT command, HWND frame) const {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(frame ? frame : Frame(), WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, kSendTimeout, &r);
    Settle();
}

void PramelSession::Settle() const {
    // A sent message is handled once the editor's queue has been read up to
    // it; two rounds and a pause let posted work and repaints finish.
    for (int i = 0; i < 3; ++i) {
        HWND frame = Frame(500);
        if (!frame) return;
        DWORD_PTR r = 0;
        SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &r);
        Sleep(60);
    }
}

std::vector<Dialog> PramelSession::Dialogs() const {
    std::vector<Dialog> dialogs;
    for (HWND w : TopLevel(pi_.dwProcessId, "#32770")) {
        Dialog d;
        d.hwnd = w;
        d.title = TextOf(w);
        d.text = MessageText(w);
        dialogs.push_back(d);
    }
    return dialogs;
}

Dialog PramelSession::WaitForDialog(const std::string& title, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND w : TopLevel(pi_.dwProcessId, "#32770")) {
            Dialog d;
            d.hwnd = w;
            d.title = TextOf(w);
            if (!title.empty() && d.title != title) continue;
            d.text = MessageText(w);
            return d;
        }
        if (!running() || GetTickCount() - start > timeoutMs) return {};
        Sleep(50);
    }
}

void PramelSession::Click(const Dialog& dialog, int buttonId) {
    PostMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.hwnd, buttonId)));
    Sleep(150);
}

bool PramelSession::AnswerFileDialog(const std::string& path, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND dialog : TopLevel(pi_.dwProcessId, "#32770")) {
            HWND name = GetDlgItem(dialog, 0x47c);  // cmb13
            if (!name) name = GetDlgItem(dialog, 0x480);  // edt1
            if (!name) continue;
            DWORD_PTR r = 0;
            SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                                kSendTimeout, &r);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
            for (int i = 0; i < 200 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) Sleep(30);
            return true;
        }
        if (!running() || GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

std::string PramelSession::Screenshot(const std::string& name, HWND window) const {
    HWND target = window ? window : Frame();
    RECT rc{};
    GetWindowRect(target, &rc);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // Copy what the display shows (a window of another process cannot be
    // asked to paint into this one's DC); bring it to the top first.
    SetForegroundWindow(GetAncestor(target, GA_ROOT));
    Sleep(300);
    BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageBytes);
    std::string path = ScreenshotFolder() + "\\" + name + ".bmp";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(imageBytes));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return path;
}

void PramelSession::Quit() {
    for (int round = 0; round < 20 && running(); ++round) {
        auto frames = Frames();
        if (frames.empty()) {
            WaitForSingleObject(pi_.hProcess, 3000);
            break;
        }
        PostMessageA(frames.front(), WM_CLOSE, 0, 0);
        // "Save changes?" is answered No; anything else modal is cancelled.
        DWORD start = GetTickCount();
        while (running() && GetTickCount() - start < 3000) {
            auto dialogs = TopLevel(pi_.dwProcessId, "#32770");
            if (!dialogs.empty()) {
                HWND d = dialogs.front();
                int button = GetDlgItem(d, IDNO) ? IDNO : IDCANCEL;
                PostMessageA(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                Sleep(100);
                continue;
            }
            if (!IsWindow(frames.front())) break;
            Sleep(50);
        }
    }
    WaitForSingleObject(pi_.hProcess, 5000);
}

}  // namespace gui
