// What the view's refresh costs under Wine on a long text, part by part,
// in-process on a RichEdit20A control set up as the view sets up its own
// (plain text, no word wrap) and holding the binary-mode dump of random
// bytes (16 per line, a space between bytes).
//
//   refresh_bench.exe BYTES [--runs N]
//   refresh_bench.exe --editor PRAMEL_EXE FILE
//
// The second form times the refresh in the running editor: it opens FILE
// (binary mode), waits for the information bar's byte count (the refresh
// after the load), types one digit at the start of the text and waits for
// the count to follow (the refresh after an edit), then ends the editor.
// The editor writes its own timing of each refresh to PRAMEL_LOAD_LOG
// ("refresh recompute_ms=... panes_ms=... total_ms=... delay_ms=...");
// this prints the time from the keystroke to the new count as seen from
// outside: edit_to_count_ms=... (the refresh delay plus the refresh).
//
// Parts (medians of N runs, default 3):
//   read_*       reading the whole text out of the control, each way there
//                is: EM_STREAMOUT (streamout), WM_GETTEXT (gettext),
//                EM_GETTEXTEX in the ANSI code page (gettextex), WM_GETTEXT
//                through the UTF-16 entry point plus the conversion to code
//                page 932 (gettextw)
//   lex          the line-record chain (CPackBinary, CCalcBytePerLine) over
//                the text held in memory
//   linecount    EM_GETLINECOUNT
//   recompute    the gutter's recompute as the editor runs it: the chain fed
//                by EM_STREAMOUT, plus the line count
//   pane         the character pane after a refresh, scrolled to the middle
//                of the text: 50 lines read in one piece (one line look-up
//                for the first) and converted
//   scroll       what a repaint of the gutter asks the control while
//                scrolling in the middle of the text: line 0's position
//                and the line height, from which the first visible line
//                follows (same_first=1: it is the control's own answer)
//   firstvisible, lineindex, posfromchar, charfrompos, scrollpos
//                single look-ups in the middle of the text, for comparison
//   refresh      recompute + pane: what the refresh timer runs
//   delay        the refresh delay that follows (200..3000 ms)
//
// Prints one line: bytes=... chars=... lines=... load_ms=... and each part
// as NAME_ms=..., then delay_ms=... and peak_mb=...
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pipeline/CCalcBytePerLine.h"
#include "pipeline/CPackBinary.h"
#include "pipeline/Chains.h"
#include "pipeline/Ports.h"
#include "view/core/PaneCells.h"

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeIt(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return Median(times);
}

std::string Dump(std::size_t bytes) {
    std::string data(bytes, '\0');
    std::mt19937 random(12345);
    for (char& c : data) c = static_cast<char>(random() & 0xFF);
    std::string text;
    CStream source(kStringStream, &data);
    CStream sink(kStringStream, &text);
    HexLayout layout;
    RunDumpChain(source, layout, sink);
    return text;
}

DWORD CALLBACK AppendChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(size));
    *done = size;
    return 0;
}

std::string ReadStreamOut(HWND h) {
    std::string text;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
    stream.pfnCallback = AppendChunk;
    SendMessageA(h, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return text;
}

std::string ReadGetText(HWND h) {
    LRESULT length = SendMessageA(h, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::string ReadGetTextEx(HWND h) {
    GETTEXTLENGTHEX request{GTL_NUMBYTES | GTL_PRECISE, CP_ACP};
    LRESULT length = SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = GT_DEFAULT;
    get.codepage = CP_ACP;
    LRESULT got = SendMessageA(h, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::string ReadGetTextW(HWND h) {
    LRESULT length = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(h, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    int bytes = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(got), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(got), text.data(), bytes, nullptr, nullptr);
    return text;
}

// The control as the line-record chain's source, through EM_STREAMOUT as
// the view hands out its text.
class ControlSurface : public ITextSurface {
public:
    explicit ControlSurface(HWND h) : h_(h) {}
    bool HasText() override { return true; }
    void StreamOut(ChunkReader& reader) override {
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&reader);
        stream.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) -> DWORD {
            *done = size;
            return reinterpret_cast<ChunkReader*>(cookie)->Take(buffer, static_cast<std::size_t>(size)) ? 0 : 1;
        };
        SendMessageA(h_, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    }
    void StreamIn(BufferFiller&) override {}

private:
    HWND h_;
};

void RunLineRecords(CStream& source, std::vector<LineRecord>& records, CCalcBytePerLine& stage) {
    stage.SetRecords(records.data(), records.size() * sizeof(LineRecord));
    CPackBinary lexer;
    Link(source, lexer);
    Link(lexer, stage);
    RunChain(&source);
}

std::string FileSizeText(unsigned long bytes) {
    char text[40];
    std::snprintf(text, sizeof text, "%8lu [%8lXH]", bytes, bytes);
    return text;
}

struct Search {
    DWORD pid;
    HWND frame;
};

// Prints the process's visible top-level windows (a message box that
// holds up the run shows here).
BOOL CALLBACK PrintWindow(HWND w, LPARAM lp) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != static_cast<DWORD>(lp) || !IsWindowVisible(w)) return TRUE;
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    wchar_t title[256] = {};
    GetWindowTextW(w, title, 256);
    char text[512] = {};
    WideCharToMultiByte(932, 0, title, -1, text, sizeof text, nullptr, nullptr);
    std::fprintf(stderr, "window class=%s title=%s\n", name, text);
    HWND child = nullptr;
    while ((child = FindWindowExW(w, child, L"Static", nullptr))) {
        GetWindowTextW(child, title, 256);
        WideCharToMultiByte(932, 0, title, -1, text, sizeof text, nullptr, nullptr);
        std::fprintf(stderr, "  static %s\n", text);
    }
    return TRUE;
}

BOOL CALLBACK FindFrame(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    if (pid == search->pid && std::strcmp(name, "PramelMainFrame") == 0 && IsWindowVisible(w)) {
        search->frame = w;
        return FALSE;
    }
    return TRUE;
}

std::string TextOf(HWND w) {
    wchar_t wide[128] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 5000, &got);
    char text[256] = {};
    WideCharToMultiByte(932, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

int RunEditor(const char* exe, const char* file) {
    HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 2;
    LARGE_INTEGER size{};
    GetFileSizeEx(handle, &size);
    CloseHandle(handle);
    std::string command = std::string("\"") + exe + "\" \"" + file + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 2;
    Search search{pi.dwProcessId, nullptr};
    int result = 1;
    HWND field = nullptr;
    HWND control = nullptr;
    if (WaitFor([&] { return EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&search)), search.frame != nullptr; },
                600000)) {
        HWND view = FindWindowExA(search.frame, nullptr, "PramelRichEditView", nullptr);
        control = view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
        // The information bar's byte count, wherever its bar is docked.
        EnumChildWindows(
            search.frame,
            [](HWND w, LPARAM lp) -> BOOL {
                char name[32] = {};
                GetClassNameA(w, name, sizeof name);
                if (GetDlgCtrlID(w) != 1003 || lstrcmpiA(name, "Static") != 0) return TRUE;
                *reinterpret_cast<HWND*>(lp) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&field));
    }
    auto bytes = static_cast<unsigned long>(size.QuadPart);
    if (field && control && WaitFor([&] { return TextOf(field) == FileSizeText(bytes); }, 600000)) {
        // The count is there before the control holds the text: wait for
        // the control (the load replaced the one the view started with) to
        // hold every line of the dump, 16 bytes a line.
        HWND view = FindWindowExA(search.frame, nullptr, "PramelRichEditView", nullptr);
        control = view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
        DWORD_PTR lines = 0;
        WaitFor(
            [&] {
                HWND now = view ? FindWindowExA(view, nullptr, "RichEdit20A", nullptr) : nullptr;
                if (now) control = now;
                return control &&
                       SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 600000, &lines) &&
                       lines == bytes / 16 + 1;
            },
            600000);
        DWORD_PTR r = 0;
        SendMessageTimeoutA(control, EM_SETSEL, 0, 0, SMTO_ABORTIFHUNG, 60000, &r);
        double typed = Now();
        PostMessageA(control, WM_CHAR, '0', 1);
        if (WaitFor([&] { return TextOf(field) == FileSizeText(bytes + 1); }, 600000)) {
            std::printf("bytes=%lu edit_to_count_ms=%.0f\n", bytes, Now() - typed);
            result = 0;
        }
    }
    if (result) {
        EnumWindows(PrintWindow, static_cast<LPARAM>(pi.dwProcessId));
        DWORD_PTR length = 0;
        if (control) SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 60000, &length);
        std::printf("bytes=%lu failed frame=%d control=%d field=%d count=\"%s\" length=%lu\n", bytes,
                    search.frame ? 1 : 0, control ? 1 : 0, field ? 1 : 0, field ? TextOf(field).c_str() : "",
                    static_cast<unsigned long>(length));
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--editor") == 0) return RunEditor(argv[2], argv[3]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: refresh_bench.exe BYTES [--runs N]\n");
        return 2;
    }
    std::size_t bytes = std::strtoull(argv[1], nullptr, 10);
    int runs = 3;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    LoadLibraryA("riched20.dll");
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND h = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                 ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                             0, 0, 880, 660, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    SendMessageA(h, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(h, EM_SETTARGETDEVICE, 0, 1);

    // The view's character format: its font, in code page 932.
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_CHARSET | CFM_SIZE;
    format.bCharSet = SHIFTJIS_CHARSET;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(format.szFaceName, "ＭＳ ゴシック", LF_FACESIZE);
    format.yHeight = 280;
    LRESULT options = SendMessageA(h, EM_GETLANGOPTIONS, 0, 0);
    SendMessageA(h, EM_SETLANGOPTIONS, 0, options & ~(IMF_AUTOFONT | IMF_DUALFONT));
    SendMessageA(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));

    std::string text = Dump(bytes);
    double start = Now();
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, EM_SETUNDOLIMIT, 0, 0);
    SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    double loadMs = Now() - start;
    auto lines = static_cast<long>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));

    std::string check;
    double streamOut = TimeIt(runs, [&] { check = ReadStreamOut(h); });
    bool same = check == text;
    double getText = TimeIt(runs, [&] { check = ReadGetText(h); });
    same = same && check == text;
    double getTextEx = TimeIt(runs, [&] { check = ReadGetTextEx(h); });
    double getTextW = TimeIt(runs, [&] { check = ReadGetTextW(h); });
    same = same && check == text;

    std::vector<LineRecord> records(static_cast<std::size_t>(lines) + 1, LineRecord{0, 0, 0});
    CCalcBytePerLine stage;
    double lex = TimeIt(runs, [&] {
        CStream source(kStringStream, &text);
        RunLineRecords(source, records, stage);
    });
    double lineCount = TimeIt(runs, [&] { SendMessageA(h, EM_GETLINECOUNT, 0, 0); });
    ControlSurface surface(h);
    double recompute = TimeIt(runs, [&] {
        auto n = static_cast<std::size_t>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
        records.resize(n + 1);
        CStream source(kRichEditStream, static_cast<ITextSurface*>(&surface));
        RunLineRecords(source, records, stage);
    });
    std::uint32_t total = records[stage.lineIndex() - 1].offset / 2;

    long middle = lines / 2;
    SendMessageA(h, EM_LINESCROLL, 0, middle);
    // Where the view finds the first visible line: from line 0's position
    // and the line height (look-ups near the start only).
    auto firstVisible = [&]() {
        POINTL line0{}, line1{};
        SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line0), 0);
        SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line1), SendMessageA(h, EM_LINEINDEX, 1, 0));
        RECT format{};
        SendMessageA(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        SendMessageA(h, EM_GETLINECOUNT, 0, 0);
        long height = line1.y - line0.y;
        return height > 0 ? (format.top - line0.y) / height : 0;
    };
    bool sameFirst = firstVisible() == static_cast<long>(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0));
    double pane = TimeIt(runs, [&] {
        long first = firstVisible();
        long from = static_cast<long>(SendMessageA(h, EM_LINEINDEX, first, 0));
        long to = from + 50 * static_cast<long>(text.size() / static_cast<std::size_t>(lines) + 9);
        std::vector<char> buffer(static_cast<std::size_t>(to - from) * 2 + 2);
        TEXTRANGEA range{{from, to}, buffer.data()};
        SendMessageA(h, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        std::vector<std::string> got = pane::SplitLines(buffer.data());
        for (std::size_t i = 0; i < got.size() && i < 50; ++i) pane::FillCells(pane::LineBytes(got[i]));
    });
    double scroll = TimeIt(runs, [&] { firstVisible(); });
    // The single look-ups a repaint may use, in the middle of the text.
    long midStart = static_cast<long>(SendMessageA(h, EM_LINEINDEX, middle, 0));
    double firstVisibleMs = TimeIt(runs, [&] { SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0); });
    double lineIndex = TimeIt(runs, [&] { SendMessageA(h, EM_LINEINDEX, middle, 0); });
    double posFromChar = TimeIt(runs, [&] {
        POINTL at{};
        SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), midStart);
    });
    double charFromPos = TimeIt(runs, [&] {
        POINTL at{10, 10};
        SendMessageA(h, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    });
    double scrollPos = TimeIt(runs, [&] {
        POINT at{};
        SendMessageA(h, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    });
    double refresh = recompute + pane;
    unsigned delay = static_cast<unsigned>(std::min(3000.0, std::max(200.0, refresh)));

    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("bytes=%zu chars=%zu lines=%ld total=%u load_ms=%.0f read_streamout_ms=%.1f read_gettext_ms=%.1f "
                "read_gettextex_ms=%.1f read_gettextw_ms=%.1f lex_ms=%.1f linecount_ms=%.2f recompute_ms=%.1f "
                "pane_ms=%.1f scroll_ms=%.2f firstvisible_ms=%.2f lineindex_ms=%.2f posfromchar_ms=%.2f "
                "charfrompos_ms=%.2f scrollpos_ms=%.3f refresh_ms=%.1f delay_ms=%u same=%d same_first=%d peak_mb=%zu\n",
                bytes, text.size(), lines, total, loadMs, streamOut, getText, getTextEx, getTextW, lex, lineCount,
                recompute, pane, scroll, firstVisibleMs, lineIndex, posFromChar, charFromPos, scrollPos, refresh, delay,
                same ? 1 : 0, sameFirst ? 1 : 0, memory.PeakWorkingSetSize >> 20);
    DestroyWindow(parent);
    return 0;
}
