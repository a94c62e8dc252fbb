// installer_probe: the Windows side of the installer test, run under Wine in
// the test's own prefix.
//
//   installer_probe run [--answer ID] SECONDS COMMANDLINE
//       runs COMMANDLINE and waits for it and for the copy of itself that an
//       uninstaller runs from the temporary folder; with --answer, clicks
//       through the installer's pages (button 1) and answers every message
//       box with the button ID. Prints every message box text it saw as
//       "message: ..." and the exit code as "exit: N"; ends with that code,
//       or 124 when SECONDS passed (everything still running is ended).
//   installer_probe while-editor EDITOR SECONDS COMMANDLINE
//       the same as run, while an editor started from EDITOR shows its
//       window; closes the editor afterwards.
//   installer_probe editor EDITOR FILE
//       starts EDITOR on FILE and waits until its window shows a text;
//       prints "template: " and the information bar's template name and
//       "text: " and the text's first line, closes the editor and ends with
//       0; a question or message of the editor instead prints
//       "dialog: TITLE: TEXT" and ends with 3; 1 on time-out.
//   installer_probe version FILE...
//       prints each file's fixed version "a.b.c.d".
//   installer_probe warm
//       creates and destroys a window: Wine sets up its display devices
//       then, which a snapshot taken before must already hold.
//   installer_probe step ID
//       clicks button ID of the installer's or uninstaller's front window
//       and prints that window's title (screenshots walk the pages with it).
#include <windows.h>
#include <richedit.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kFrameClass[] = "PramelMainFrame";
const char kViewClass[] = "PramelRichEditView";
constexpr int kTemplateNameItem = 1007;  // the information bar's template name

std::string ClassOf(HWND w) {
    char name[128] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

// Texts are read as UTF-16 into a buffer of room characters and converted:
// Wine's ANSI answers to another process drop double-byte texts, and its
// WM_GETTEXTLENGTH answers 0 for a rich-edit text that holds them.
std::string TextOf(HWND w, std::size_t room = 0) {
    DWORD_PTR length = 0;
    if (!room) {
        if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
        room = length + 1;
    }
    std::wstring wide(room, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, room, reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG, 5000, &got);
    wide.resize(got < room ? got : room - 1);
    if (wide.empty()) return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    return text;
}

struct Search {
    DWORD pid;  // 0: any process
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if ((!s->pid || pid == s->pid) && IsWindowVisible(w) && ClassOf(w) == s->className) s->found.push_back(w);
    return TRUE;
}

std::vector<HWND> Visible(const char* className, DWORD pid = 0) {
    Search s{pid, className, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK LongestStatic(HWND w, LPARAM lp) {
    auto* longest = reinterpret_cast<std::string*>(lp);
    if (ClassOf(w) == "Static") {
        std::string text = TextOf(w);
        if (text.size() > longest->size()) *longest = text;
    }
    return TRUE;
}

std::string LongestStaticOf(HWND dialog) {
    std::string longest;
    EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

// A message box, as opposed to the installer's window: that one has the
// frame of its pages (control 1018).
bool IsMessageBox(HWND dialog) { return !GetDlgItem(dialog, 1018); }

void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// NSIS uninstallers run a copy of themselves from the temporary folder
// ("Un.exe", "Un_A.exe") and end at once; the copy does the work.
std::vector<HANDLE> UninstallerCopies() {
    std::vector<HANDLE> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
        const wchar_t* name = entry.szExeFile;
        std::size_t n = wcslen(name);
        if (n >= 6 && n <= 8 && _wcsnicmp(name, L"Un", 2) == 0 && _wcsicmp(name + n - 4, L".exe") == 0) {
            if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID)) found.push_back(h);
        }
    }
    CloseHandle(snapshot);
    return found;
}

bool Start(const std::string& commandLine, PROCESS_INFORMATION& pi) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return true;
    std::printf("cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    return false;
}

// Runs a command line to its end (uninstaller copy included), answering
// dialogs when asked to; the exit code, or 124 on time-out.
int RunToEnd(const std::string& commandLine, DWORD seconds, int answer) {
    PROCESS_INFORMATION pi{};
    if (!Start(commandLine, pi)) return 125;
    const DWORD start = GetTickCount();
    const DWORD limit = seconds * 1000;
    std::vector<HWND> reported;
    DWORD code = 0;
    bool ended = false;
    for (;;) {
        if (!ended && WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            GetExitCodeProcess(pi.hProcess, &code);
            ended = true;
        }
        std::vector<HANDLE> copies = UninstallerCopies();
        bool copiesRunning = false;
        for (HANDLE h : copies) copiesRunning = copiesRunning || WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
        if (ended && !copiesRunning) {
            for (HANDLE h : copies) CloseHandle(h);
            break;
        }
        for (HWND dialog : Visible("#32770")) {
            if (IsMessageBox(dialog)) {
                bool known = false;
                for (HWND r : reported) known = known || r == dialog;
                if (!known) {
                    reported.push_back(dialog);
                    std::printf("message: %s: %s\n", TextOf(dialog).c_str(), LongestStaticOf(dialog).c_str());
                    std::fflush(stdout);
                }
                if (answer) Click(dialog, answer);
            } else if (answer && IsWindowEnabled(GetDlgItem(dialog, 1))) {
                Click(dialog, 1);
            }
        }
        if (GetTickCount() - start > limit) {
            std::printf("timed out: %s\n", commandLine.c_str());
            if (!ended) TerminateProcess(pi.hProcess, 124);
            for (HANDLE h : copies) TerminateProcess(h, 124);
            for (HANDLE h : copies) CloseHandle(h);
            code = 124;
            break;
        }
        for (HANDLE h : copies) CloseHandle(h);
        Sleep(250);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("exit: %lu\n", code);
    return static_cast<int>(code);
}

// An editor window that shows a text.
HWND ShownFrame(DWORD pid) {
    for (HWND frame : Visible(kFrameClass, pid)) {
        HWND view = FindWindowExA(frame, nullptr, kViewClass, nullptr);
        HWND control = view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
        DWORD_PTR lines = 0;
        DWORD_PTR first = 0;
        if (control && SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &lines) &&
            SendMessageTimeoutA(control, EM_LINELENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &first) &&
            (lines > 1 || first > 0)) {
            return frame;
        }
    }
    return nullptr;
}

HWND AnyFrame(DWORD pid) {
    std::vector<HWND> frames = Visible(kFrameClass, pid);
    return frames.empty() ? nullptr : frames.front();
}

// Closes the editor's windows and waits for it; ends it when it stays.
void CloseEditor(PROCESS_INFORMATION& pi) {
    for (HWND frame : Visible(kFrameClass, pi.dwProcessId)) PostMessageA(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        std::printf("the editor did not end; ended by force\n");
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindId(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(w) == s->id && !s->found) s->found = w;
    return TRUE;
}

int Editor(const std::string& editor, const std::string& file) {
    PROCESS_INFORMATION pi{};
    if (!Start("\"" + editor + "\" \"" + file + "\"", pi)) return 125;
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> dialogs = Visible("#32770", pi.dwProcessId);
        if (!dialogs.empty()) {
            std::printf("dialog: %s: %s\n", TextOf(dialogs.front()).c_str(), LongestStaticOf(dialogs.front()).c_str());
            TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            return 3;
        }
        if (HWND frame = ShownFrame(pi.dwProcessId)) {
            // Let the run's results reach the bars.
            DWORD_PTR r = 0;
            for (int i = 0; i < 3; ++i) {
                SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
                Sleep(100);
            }
            // The bar shows the template's name once the run's results are in.
            ChildSearch item{kTemplateNameItem, nullptr};
            EnumChildWindows(frame, FindId, reinterpret_cast<LPARAM>(&item));
            std::string name;
            for (int i = 0; item.found && i < 50 && (name = TextOf(item.found)).empty(); ++i) Sleep(200);
            std::printf("template: %s\n", name.c_str());
            HWND view = FindWindowExA(frame, nullptr, kViewClass, nullptr);
            std::string text = TextOf(FindWindowExA(view, nullptr, "RichEdit20A", nullptr), 1 << 16);
            std::printf("text: %s\n", text.substr(0, text.find_first_of("\r\n")).c_str());
            dialogs = Visible("#32770", pi.dwProcessId);
            if (!dialogs.empty()) {
                std::printf("dialog: %s: %s\n", TextOf(dialogs.front()).c_str(),
                            LongestStaticOf(dialogs.front()).c_str());
                TerminateProcess(pi.hProcess, 1);
                return 3;
            }
            CloseEditor(pi);
            return 0;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            std::printf("the editor ended without a window\n");
            return 1;
        }
        if (GetTickCount() - start > 180000) {
            std::printf("the editor showed no text\n");
            TerminateProcess(pi.hProcess, 1);
            return 1;
        }
        Sleep(200);
    }
}

int WhileEditor(const std::string& editor, DWORD seconds, const std::string& commandLine) {
    PROCESS_INFORMATION pi{};
    if (!Start("\"" + editor + "\"", pi)) return 125;
    const DWORD start = GetTickCount();
    while (!AnyFrame(pi.dwProcessId)) {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 || GetTickCount() - start > 60000) {
            std::printf("the editor showed no window\n");
            return 125;
        }
        Sleep(200);
    }
    int code = RunToEnd(commandLine, seconds, 0);
    CloseEditor(pi);
    return code;
}

int Versions(int argc, char** argv) {
    int failed = 0;
    for (int i = 0; i < argc; ++i) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(argv[i], &ignored);
        std::vector<char> data(size ? size : 1);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (!size || !GetFileVersionInfoA(argv[i], 0, size, data.data()) ||
            !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) {
            std::printf("%s: no version\n", argv[i]);
            failed = 1;
            continue;
        }
        std::printf("%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                    HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    }
    return failed;
}

int Step(int id) {
    for (HWND dialog : Visible("#32770")) {
        std::string title = TextOf(dialog);
        if (title.find("Pramel") == std::string::npos) continue;
        std::printf("%s\n", title.c_str());
        Click(dialog, id);
        return 0;
    }
    std::printf("no installer window\n");
    return 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: installer_probe run [--answer ID] SECONDS COMMANDLINE | while-editor EDITOR SECONDS "
                 "COMMANDLINE | editor EDITOR FILE | version FILE... | step ID\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "run") {
        int at = 2;
        int answer = 0;
        if (argc > at + 1 && std::strcmp(argv[at], "--answer") == 0) {
            answer = std::atoi(argv[at + 1]);
            at += 2;
        }
        if (argc != at + 2) return Usage();
        return RunToEnd(argv[at + 1], static_cast<DWORD>(std::atoi(argv[at])), answer);
    }
    if (command == "while-editor" && argc == 5) {
        return WhileEditor(argv[2], static_cast<DWORD>(std::atoi(argv[3])), argv[4]);
    }
    if (command == "editor" && argc == 4) return Editor(argv[2], argv[3]);
    if (command == "version" && argc >= 3) return Versions(argc - 2, argv + 2);
    if (command == "step" && argc == 3) return Step(std::atoi(argv[2]));
    if (command == "warm" && argc == 2) {
        DestroyWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        return 0;
    }
    return Usage();
}
