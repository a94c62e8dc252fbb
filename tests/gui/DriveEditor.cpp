// pramel_drive: lets scripts/run.sh follow an editor it started on a named
// Wine desktop (the one that draws on the X display):
//
//   pramel_drive shown DESKTOP SECONDS   waits until an editor window there
//                                        shows text and prints its title, or
//                                        until the editor asks something
//                                        (exit code 3) and prints the question
//   pramel_drive wait DESKTOP            waits until no editor runs there
//   pramel_drive close DESKTOP SECONDS   closes the editor windows there and
//                                        waits for the editors to end; ends
//                                        them when they are still up then
//                                        (a question nobody can answer), or
//                                        at once when no window is up yet
//
// Exit code 0 on success, 1 on time-out, 2 on bad use, 3 as above. Windows are looked
// up on the named desktop only: another editor elsewhere in the same Wine
// session (a GUI test, say) is never touched.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kFrameClass[] = "PramelMainFrame";
const char kViewClass[] = "PramelRichEditView";

std::string ClassOf(HWND w) {
    char name[128] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

struct Search {
    std::string className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (ClassOf(w) == search->className && (!search->visibleOnly || IsWindowVisible(w))) search->found.push_back(w);
    return TRUE;
}

// The desktop's top-level windows of a class.
std::vector<HWND> TopLevel(HDESK desktop, const char* className, bool visibleOnly) {
    Search search{className, visibleOnly, {}};
    EnumDesktopWindows(desktop, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Frames(HDESK desktop) { return TopLevel(desktop, kFrameClass, false); }

// Read as UTF-16: Wine's ANSI answers to another process lose texts that
// hold double-byte characters (a template's text does).
std::string TextOf(HWND w) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG, 5000, &got);
    wide.resize(got);
    if (wide.empty()) return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size, nullptr, nullptr);
    return text;
}

// The frame's text, once its view's rich-edit control holds some and the
// editor has drawn it (a sent message returns after the queue is read up
// to it; the repaint follows the same round).
bool ShowsText(HWND frame) {
    if (!IsWindowVisible(frame)) return false;
    HWND view = FindWindowExA(frame, nullptr, kViewClass, nullptr);
    HWND control = view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
    // Counted by lines, not read: a long text with double-byte characters
    // does not cross to another process whole.
    DWORD_PTR lines = 0;
    DWORD_PTR first = 0;
    if (!control || !SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &lines) ||
        !SendMessageTimeoutA(control, EM_LINELENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &first) ||
        (lines <= 1 && first == 0)) {
        return false;
    }
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
    return true;
}

BOOL CALLBACK LongestStatic(HWND w, LPARAM lp) {
    auto* longest = reinterpret_cast<std::string*>(lp);
    if (ClassOf(w) == "Static") {
        std::string text = TextOf(w);
        if (text.size() > longest->size()) *longest = text;
    }
    return TRUE;
}

// The question of a message box: its title and its longest static text.
std::string QuestionOf(HWND dialog) {
    std::string longest;
    EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return TextOf(dialog) + ": " + longest;
}

// The processes of the editor windows and dialogs on the desktop (only the
// editor runs there).
std::vector<HANDLE> EditorProcesses(HDESK desktop) {
    std::vector<HANDLE> processes;
    std::vector<DWORD> seen;
    std::vector<HWND> windows = Frames(desktop);
    for (HWND dialog : TopLevel(desktop, "#32770", true)) windows.push_back(dialog);
    for (HWND frame : windows) {
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        bool known = false;
        for (DWORD s : seen) known = known || s == pid;
        if (known || !pid) continue;
        seen.push_back(pid);
        if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid)) processes.push_back(h);
    }
    return processes;
}

bool WaitForAll(const std::vector<HANDLE>& processes, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (HANDLE h : processes) {
        DWORD spent = GetTickCount() - start;
        DWORD left = timeoutMs == INFINITE ? INFINITE : (spent < timeoutMs ? timeoutMs - spent : 0);
        if (WaitForSingleObject(h, left) != WAIT_OBJECT_0) return false;
    }
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: pramel_drive shown|close DESKTOP SECONDS | wait DESKTOP\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    std::string command = argv[1];
    if ((command == "shown" || command == "close") && argc < 4) return Usage();
    DWORD timeoutMs = argc > 3 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) * 1000 : INFINITE;
    // The desktop comes with the first program started on it: wait for it
    // (shown), or find that there is nothing to wait for or close.
    DWORD start = GetTickCount();
    HDESK desktop = nullptr;
    for (;;) {
        desktop = OpenDesktopA(argv[2], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE | GENERIC_READ);
        if (desktop) break;
        if (command != "shown") return 0;
        if (GetTickCount() - start > timeoutMs) {
            std::fprintf(stderr, "pramel_drive: no desktop %s\n", argv[2]);
            return 1;
        }
        Sleep(200);
    }
    // Messages to the editor's windows go within their own desktop.
    SetThreadDesktop(desktop);

    if (command == "shown") {
        for (;;) {
            for (HWND frame : Frames(desktop)) {
                if (ShowsText(frame)) {
                    std::printf("%s\n", TextOf(frame).c_str());
                    return 0;
                }
            }
            // Only the editor runs on this desktop: a dialog there is its.
            for (HWND dialog : TopLevel(desktop, "#32770", true)) {
                RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                std::printf("%s\n", QuestionOf(dialog).c_str());
                return 3;
            }
            if (GetTickCount() - start > timeoutMs) return 1;
            Sleep(200);
        }
    }
    if (command == "wait") {
        for (;;) {
            std::vector<HANDLE> processes = EditorProcesses(desktop);
            if (processes.empty()) return 0;
            WaitForAll(processes, INFINITE);
            for (HANDLE h : processes) CloseHandle(h);
        }
    }
    if (command == "close") {
        std::vector<HANDLE> processes = EditorProcesses(desktop);
        std::vector<HWND> frames = Frames(desktop);
        for (HWND frame : frames) PostMessageA(frame, WM_CLOSE, 0, 0);
        // Without a frame the editor is still asking at start-up: nothing
        // to close properly.
        bool ended = !frames.empty() && WaitForAll(processes, timeoutMs);
        for (HANDLE h : processes) {
            if (!ended && WaitForSingleObject(h, 0) != WAIT_OBJECT_0) {
                TerminateProcess(h, 1);
                WaitForSingleObject(h, 5000);
            }
            CloseHandle(h);
        }
        return 0;
    }
    return Usage();
}
