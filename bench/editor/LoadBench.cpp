// Times Pramel.exe loading a file in binary mode, from outside, the way a
// user sees it: from the process start to the dump shown in the view, then
// from each Reload command (32802) to the new dump shown.
//
//   pramel_load_bench.exe PRAMEL_EXE FILE [--reloads N] [--verify] [--text]
//                         [--expect TEXTFILE]
//
// "Shown" means the view's control holds the whole dump (as many lines as
// the dump; the control answers no message while it loads, so the first
// answer after the load is the final one) and has no part left to paint.
// The settings start from their defaults (16 bytes per line, a space
// between bytes), so the expected dump is known from the file's size.
// --verify also reads the text back and compares it with the dump made here.
// --text opens the file (a .txt) in text mode instead, answering the editor's
// question, and expects the file's own bytes as the text.
// --expect takes the expected text from TEXTFILE (code page 932), for a file
// the editor opens in template mode. Such a text may end its lines in CR LF,
// a lone CR or a lone LF (the control makes each a paragraph end) and holds
// double-byte characters. Wine's rich-edit control gives such a text to
// another process through neither WM_GETTEXT (ANSI nor UTF-16: it answers
// with nothing), so --verify then compares its line count and its length in
// UTF-16 units (WM_GETTEXTLENGTH through the UTF-16 entry point, with every
// line end as CR LF), and chars= counts UTF-16 units.
//
// Prints key=value lines:
//   open ms=... text_ms=... chars=... [verify=...]
//   reload ms=... text_ms=... sent_at=... chars=... [verify=...]
// (ms: until shown; text_ms: until the control first answered with the
// whole text; sent_at: when the command was posted, on the performance
// counter)
//   done start_at=... peak_mb=...
// (start_at: the process start on the performance counter, which the
// editor's load log also uses)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char kFrameClass[] = "PramelMainFrame";
const char kViewClass[] = "PramelRichEditView";
const char kSettingsKey[] = "Software\\Tevrin\\Pramel";
constexpr UINT kReload = 32802;
constexpr DWORD kLoadTimeoutMs = 600000;

double Now() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// The editor's text for the bytes with the default layout.
std::string Dump(const std::string& bytes) {
    const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3 + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned b = static_cast<unsigned char>(bytes[i]);
        text += digits[b >> 4];
        text += digits[b & 15];
        if ((i + 1) % 16 == 0) text += "\r\n";
        else if (i + 1 < bytes.size()) text += ' ';
    }
    return text;
}

void SetSetting(const char* section, const char* entry, DWORD value) {
    HKEY key = nullptr;
    std::string path = std::string(kSettingsKey) + "\\" + section;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

struct FrameSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindFrame(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<FrameSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    if (pid == search->pid && IsWindowVisible(w) && std::string(name) == kFrameClass) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND Frame(DWORD pid) {
    FrameSearch search{pid, nullptr};
    EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Control(HWND frame) {
    HWND view = frame ? FindWindowExA(frame, nullptr, kViewClass, nullptr) : nullptr;
    return view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
}

// Waits until a control other than `old` holds `lines` lines and has
// nothing left to paint; returns it, or null when the editor ended or the
// time ran out. *full is when the text was first complete.
//
// The line count is what is asked, not the length: Wine answers a
// WM_GETTEXTLENGTH from another process by fetching the whole text to
// convert it, which on a large text takes longer than the paint.
HWND WaitShown(HANDLE process, DWORD pid, HWND old, std::size_t lines, double deadline, double* full) {
    for (;;) {
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || Now() > deadline) return nullptr;
        HWND control = Control(Frame(pid));
        if (!control || control == old) {
            Sleep(1);
            continue;
        }
        DWORD_PTR count = 0;
        if (!SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_NORMAL, kLoadTimeoutMs, &count) ||
            count < lines) {
            Sleep(1);
            continue;
        }
        *full = Now();
        while (IsWindow(control) && GetUpdateRect(control, nullptr, FALSE) && Now() < deadline) Sleep(1);
        return IsWindow(control) ? control : nullptr;
    }
}

// The control's text; room for at least `expected` bytes.
std::string TextOf(HWND control, std::size_t expected) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kLoadTimeoutMs, &length);
    if (length < expected) length = expected;
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                        kLoadTimeoutMs, &got);
    text.resize(got);
    return text;
}

// The text with every line end (CR LF, a lone CR, a lone LF) as CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Compare(const std::string& shown, const std::string& expected) {
    if (shown == expected) return "same";
    std::size_t i = 0;
    while (i < shown.size() && i < expected.size() && shown[i] == expected[i]) ++i;
    return "differs_at_" + std::to_string(i) + "_shown_" + std::to_string(shown.size()) + "_expected_" +
           std::to_string(expected.size());
}

struct DialogSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    if (pid == search->pid && IsWindowVisible(w) && std::string(name) == "#32770") {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

// Answers the editor's first message box with Yes.
bool AnswerYes(HANDLE process, DWORD pid) {
    double deadline = Now() + 60000;
    while (Now() < deadline && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        DialogSearch search{pid, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDYES)));
            return true;
        }
        Sleep(5);
    }
    return false;
}

// The length of a code page 932 text in UTF-16 units.
std::size_t WideLength(const std::string& text) {
    if (text.empty()) return 0;
    return static_cast<std::size_t>(
        MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0));
}

LRESULT Length(HWND control, bool wide) {
    DWORD_PTR chars = 0;
    if (wide) SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kLoadTimeoutMs, &chars);
    else SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kLoadTimeoutMs, &chars);
    return static_cast<LRESULT>(chars);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pramel_load_bench PRAMEL_EXE FILE [--reloads N] [--verify] [--text] "
                             "[--expect TEXTFILE]\n");
        return 2;
    }
    std::string exe = argv[1];
    std::string file = argv[2];
    int reloads = 1;
    bool verify = false;
    bool textMode = false;
    std::string expectFile;
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--reloads" && i + 1 < argc) reloads = std::atoi(argv[++i]);
        else if (a == "--verify") verify = true;
        else if (a == "--text") textMode = true;
        else if (a == "--expect" && i + 1 < argc) expectFile = argv[++i];
        else {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return 2;
        }
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string expected = textMode ? bytes : Dump(bytes);
    const bool wide = !expectFile.empty();
    if (wide) {
        std::ifstream given(expectFile, std::ios::binary);
        if (!given) {
            std::fprintf(stderr, "cannot read %s\n", expectFile.c_str());
            return 1;
        }
        expected = WithCrLf(std::string(std::istreambuf_iterator<char>(given), std::istreambuf_iterator<char>()));
    }
    auto check = [&](HWND control) {
        if (!wide) return Compare(TextOf(control, expected.size()), expected);
        std::size_t shown = static_cast<std::size_t>(Length(control, true));
        std::size_t want = WideLength(expected);
        return shown == want ? std::string("same") : "length_" + std::to_string(shown) + "_expected_" + std::to_string(want);
    };

    // Default settings, as a first start would have them.
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    SetSetting("System", "Version", 59);

    std::string command = "\"" + exe + "\" \"" + file + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    double start = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        return 1;
    }
    int status = 0;
    if (textMode && !AnswerYes(pi.hProcess, pi.dwProcessId)) {
        std::printf("open failed: no open-mode question\n");
        status = 1;
    }
    // One line more than there are line breaks (the dump of a file whose
    // size is a multiple of 16 ends with an empty line).
    std::size_t lines = 1;
    for (std::size_t at = expected.find("\r\n"); at != std::string::npos; at = expected.find("\r\n", at + 2)) ++lines;
    double full = 0;
    HWND control = WaitShown(pi.hProcess, pi.dwProcessId, nullptr, lines, start + kLoadTimeoutMs, &full);
    double shown = Now();
    if (!control) {
        std::printf("open failed\n");
        status = 1;
    } else {
        std::printf("open ms=%.0f text_ms=%.0f chars=%ld", shown - start, full - start,
                    static_cast<long>(Length(control, wide)));
        if (verify) std::printf(" verify=%s", check(control).c_str());
        std::printf("\n");
        std::fflush(stdout);
    }
    for (int i = 0; control && i < reloads; ++i) {
        HWND frame = Frame(pi.dwProcessId);
        Sleep(200);  // let the editor go idle first
        double t = Now();
        PostMessageA(frame, WM_COMMAND, kReload, 0);
        control = WaitShown(pi.hProcess, pi.dwProcessId, control, lines, t + kLoadTimeoutMs, &full);
        double done = Now();
        if (!control) {
            std::printf("reload failed\n");
            status = 1;
            break;
        }
        std::printf("reload ms=%.0f text_ms=%.0f sent_at=%.1f chars=%ld", done - t, full - t, t,
                    static_cast<long>(Length(control, wide)));
        if (verify) std::printf(" verify=%s", check(control).c_str());
        std::printf("\n");
        std::fflush(stdout);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters);
    std::printf("done start_at=%.1f peak_mb=%.0f\n", start, static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
    std::fflush(stdout);

    // Closing an unmodified document asks nothing; a stuck editor is ended.
    if (HWND frame = Frame(pi.dwProcessId)) PostMessageA(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return status;
}
