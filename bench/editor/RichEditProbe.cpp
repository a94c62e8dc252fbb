// How fast a RichEdit20A control takes in a large text, under one set of
// options per run. The control is set up as the editor's view sets up its
// own (plain text, no word wrap, the view's font and tab stops, the same
// window styles), and the text is the binary-mode dump of random bytes
// (16 per line, a space between bytes, CR LF), made in memory so that only
// the control's share is measured.
//
//   richedit_probe.exe BYTES [option...]
//
// Options (default: a plain-text stream-in of the whole text into a fresh
// control, undo limit 0 and redraw off during it):
//   --chunk N        hand the control at most N bytes per stream-in callback
//   --redraw on|off  WM_SETREDRAW off around the stream-in (default off)
//   --hide           hide the control during the stream-in
//   --undo N         undo limit during the stream-in (default 0; -1 leaves it)
//   --single-undo    single-level undo text mode instead of multi-level
//   --rich           rich-text mode instead of plain text
//   --events on|off  event mask during the stream-in (default on)
//   --unicode        stream UTF-16 (SF_TEXT | SF_UNICODE) instead of ANSI
//   --settext        WM_SETTEXT with the whole text instead of a stream-in
//   --replacesel     EM_REPLACESEL with the whole text instead of a stream-in
//   --reuse          load twice into the same control (the second load
//                    replaces the first text) instead of a fresh control
//   --reload         load twice, a fresh control for the second load
//   --verify         stream the text out again and compare it with the input
//   --japanese       a code page 932 text (double-byte characters) instead
//                    of the dump
//   --nul            a short text with a NUL byte in its middle instead
//   --separator C    the dump with C between bytes: space (default), tab,
//                    comma or none
//   --face NAME      this font face instead of the view's
//   --focus          the control has the keyboard focus while it loads
//   --lfh            the process heap switched to the low-fragmentation heap
//                    before the control's library is loaded
//   --selection      stream into the selection (SFF_SELECTION) of the empty
//                    control instead of replacing the whole content
//   --tabs-after     give the tab stops to the whole text after the load
//                    (select all, EM_SETPARAFORMAT) as well
//
// Prints one line per load:
//   load=N chars=C lines=L stream_ms=S tabs_ms=A paint_ms=P total_ms=T
//   callbacks=K change=E selchange=F length_ms=G linecount_ms=H
//   tab_first=X tab_last=Y peak_mb=M
// (change, selchange: notifications the parent got during the load;
// length_ms, linecount_ms: what WM_GETTEXTLENGTH and EM_GETLINECOUNT cost
// on the loaded text; tab_first, tab_last: the first tab stop of the first
// and the last paragraph, in twips, 0 for none)
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Options {
    size_t bytes = 1 << 20;
    size_t chunk = 0;  // 0: whatever the control asks for
    bool redrawOff = true;
    bool hide = false;
    int undo = 0;
    bool singleUndo = false;
    bool rich = false;
    bool eventsOn = true;
    bool unicode = false;
    bool setText = false;
    bool replaceSel = false;
    bool reuse = false;
    bool reload = false;
    bool verify = false;
    bool japanese = false;
    bool nul = false;
    std::string separator = "space";
    std::string face = "ＭＳ ゴシック";
    bool focus = false;
    bool lfh = false;
    bool selection = false;
    bool tabsAfter = false;
};

int g_change = 0;
int g_selChange = 0;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double PeakMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

std::string HexDump(size_t bytes, const std::string& separatorName) {
    std::string separator = separatorName == "tab" ? "\t" : separatorName == "comma" ? "," :
                            separatorName == "none" ? "" : " ";
    std::mt19937 random(12345);
    const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes * 3 + bytes / 16 * 2);
    for (size_t i = 0; i < bytes; ++i) {
        unsigned b = random() & 0xFF;
        text += digits[b >> 4];
        text += digits[b & 15];
        bool lineEnd = (i + 1) % 16 == 0;
        if (lineEnd) text += "\r\n";
        else if (i + 1 < bytes) text += separator;
    }
    return text;
}

// Lines of double-byte characters (odd lengths, so that characters fall on
// every buffer boundary).
std::string JapaneseText(size_t bytes) {
    const char* words[] = {"日本語", "テキスト", "ゴシック", "漢字", "表示", "ａ"};
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) {
        text += words[i % 6];
        if (i % 7 == 6) text += "x\r\n";
    }
    return text;
}

DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), size);
    *done = size;
    return 0;
}

void Verify(HWND h, const std::string& expected) {
    std::string text;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
    stream.pfnCallback = Collect;
    SendMessageA(h, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    size_t first = 0;
    while (first < text.size() && first < expected.size() && text[first] == expected[first]) ++first;
    if (first == text.size() && first == expected.size()) {
        std::printf("verify: same text (%zu bytes)\n", text.size());
        return;
    }
    std::string got = text.substr(first > 8 ? first - 8 : 0, 24);
    std::string want = expected.substr(first > 8 ? first - 8 : 0, 24);
    for (auto* s : {&got, &want})
        for (char& c : *s)
            if (c == '\r') c = '<'; else if (c == '\n') c = '|';
    std::printf("verify: %zu bytes out, %zu in; first difference at %zu: got [%s] want [%s]\n", text.size(),
                expected.size(), first, got.c_str(), want.c_str());
}

struct Source {
    const char* data;
    size_t size;
    size_t at = 0;
    size_t chunk;
    int callbacks = 0;
};

DWORD CALLBACK Fill(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* source = reinterpret_cast<Source*>(cookie);
    ++source->callbacks;
    size_t n = static_cast<size_t>(size);
    if (source->chunk && source->chunk < n) n = source->chunk;
    if (n > source->size - source->at) n = source->size - source->at;
    std::memcpy(buffer, source->data + source->at, n);
    source->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) ++g_change;
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == EN_SELCHANGE) ++g_selChange;
    return DefWindowProcA(w, msg, wp, lp);
}

// The view's paragraph tab stops (140 twips apart) on the selected
// paragraphs.
void SetTabStops(HWND h) {
    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_TABSTOPS;
    paragraph.cTabCount = MAX_TAB_STOPS;
    for (int i = 0; i < MAX_TAB_STOPS; ++i) paragraph.rgxTabs[i] = 140 * (i + 1);
    SendMessageA(h, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}

// The first tab stop of the paragraph at a character position (0: none).
long FirstTabStopAt(HWND h, LONG at) {
    CHARRANGE keep{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&keep));
    CHARRANGE there{at, at};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&there));
    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    SendMessageA(h, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&keep));
    return paragraph.cTabCount > 0 ? paragraph.rgxTabs[0] : 0;
}

HWND CreateControl(HWND parent, const Options& o) {
    RECT rc{};
    GetClientRect(parent, &rc);
    HWND h = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, "RichEdit20A", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                             0, 0, rc.right, rc.bottom, parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr),
                             nullptr);
    WPARAM mode = (o.rich ? TM_RICHTEXT : TM_PLAINTEXT) | (o.singleUndo ? TM_SINGLELEVELUNDO : TM_MULTILEVELUNDO) |
                  TM_MULTICODEPAGE;
    SendMessageA(h, EM_SETTEXTMODE, mode, 0);
    SendMessageA(h, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(h, EM_SETTARGETDEVICE, 0, 1);
    SendMessageA(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SCROLL | ENM_SELCHANGE | ENM_DROPFILES);
    LRESULT options = SendMessageA(h, EM_GETLANGOPTIONS, 0, 0);
    SendMessageA(h, EM_SETLANGOPTIONS, 0, options & ~(IMF_AUTOFONT | IMF_DUALFONT));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_CHARSET | CFM_SIZE;
    format.bCharSet = SHIFTJIS_CHARSET;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(format.szFaceName, o.face.c_str(), LF_FACESIZE);
    format.yHeight = 280;
    SendMessageA(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    UINT stop = 4;
    SendMessageA(h, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    SetTabStops(h);
    return h;
}

void Load(HWND h, const std::string& text, const std::wstring& wide, const Options& o, int number) {
    g_change = g_selChange = 0;
    if (o.focus) SetFocus(h);
    double start = Now();
    if (o.hide) ShowWindow(h, SW_HIDE);
    if (o.redrawOff) SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    LRESULT mask = SendMessageA(h, EM_GETEVENTMASK, 0, 0);
    if (!o.eventsOn) SendMessageA(h, EM_SETEVENTMASK, 0, 0);
    if (o.undo >= 0) SendMessageA(h, EM_SETUNDOLIMIT, static_cast<WPARAM>(o.undo), 0);
    Source source{nullptr, 0, 0, o.chunk};
    if (o.setText) {
        SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else if (o.replaceSel) {
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    } else {
        if (o.unicode) {
            source.data = reinterpret_cast<const char*>(wide.data());
            source.size = wide.size() * sizeof(wchar_t);
        } else {
            source.data = text.data();
            source.size = text.size();
        }
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        stream.pfnCallback = Fill;
        WPARAM format = (o.unicode ? (SF_TEXT | SF_UNICODE) : SF_TEXT) | (o.selection ? SFF_SELECTION : 0);
        SendMessageA(h, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    }
    double inserted = Now();
    if (o.tabsAfter) {
        CHARRANGE all{0, -1};
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        SetTabStops(h);
    }
    double tabsMs = Now() - inserted;
    if (o.undo >= 0) SendMessageA(h, EM_SETUNDOLIMIT, 100, 0);
    if (!o.eventsOn) SendMessageA(h, EM_SETEVENTMASK, 0, mask);
    if (o.redrawOff) SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    if (o.hide) ShowWindow(h, SW_SHOW);
    InvalidateRect(h, nullptr, TRUE);
    CHARRANGE first{0, 0};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
    double streamed = Now();
    UpdateWindow(GetParent(h));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    double painted = Now();
    LRESULT chars = SendMessageA(h, WM_GETTEXTLENGTH, 0, 0);
    double counted = Now();
    LRESULT lines = SendMessageA(h, EM_GETLINECOUNT, 0, 0);
    double linesCounted = Now();
    GETTEXTLENGTHEX request{GTL_NUMCHARS, CP_ACP};
    LONG end = static_cast<LONG>(SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    std::printf("load=%d chars=%ld lines=%ld stream_ms=%.0f tabs_ms=%.0f paint_ms=%.0f total_ms=%.0f callbacks=%d "
                "change=%d selchange=%d length_ms=%.1f linecount_ms=%.1f tab_first=%ld tab_last=%ld peak_mb=%.0f\n",
                number, static_cast<long>(chars), static_cast<long>(lines), inserted - start, tabsMs,
                painted - streamed, painted - start, source.callbacks, g_change, g_selChange, counted - painted,
                linesCounted - counted, FirstTabStopAt(h, 0), FirstTabStopAt(h, end), PeakMb());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (argc < 2) {
        std::fprintf(stderr, "usage: richedit_probe BYTES [options]\n");
        return 2;
    }
    o.bytes = std::strtoul(argv[1], nullptr, 10);
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--chunk") o.chunk = std::strtoul(next().c_str(), nullptr, 10);
        else if (a == "--redraw") o.redrawOff = next() == "off";
        else if (a == "--hide") o.hide = true;
        else if (a == "--undo") o.undo = std::atoi(next().c_str());
        else if (a == "--single-undo") o.singleUndo = true;
        else if (a == "--rich") o.rich = true;
        else if (a == "--events") o.eventsOn = next() != "off";
        else if (a == "--unicode") o.unicode = true;
        else if (a == "--settext") o.setText = true;
        else if (a == "--replacesel") o.replaceSel = true;
        else if (a == "--reuse") o.reuse = true;
        else if (a == "--reload") o.reload = true;
        else if (a == "--verify") o.verify = true;
        else if (a == "--japanese") o.japanese = true;
        else if (a == "--nul") o.nul = true;
        else if (a == "--separator") o.separator = next();
        else if (a == "--face") o.face = next();
        else if (a == "--focus") o.focus = true;
        else if (a == "--lfh") o.lfh = true;
        else if (a == "--selection") o.selection = true;
        else if (a == "--tabs-after") o.tabsAfter = true;
        else {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return 2;
        }
    }
    if (o.lfh) {
        ULONG mode = 2;
        BOOL ok = HeapSetInformation(GetProcessHeap(), HeapCompatibilityInformation, &mode, sizeof mode);
        ULONG now = 0;
        HeapQueryInformation(GetProcessHeap(), HeapCompatibilityInformation, &now, sizeof now, nullptr);
        std::printf("lfh set=%d mode=%lu\n", ok, now);
    }
    if (!LoadLibraryA("riched20.dll")) return 1;
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RichEditProbeFrame";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, wc.lpszClassName, "probe", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                 1000, 700, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(frame);

    std::string text = o.japanese ? JapaneseText(o.bytes) : HexDump(o.bytes, o.separator);
    if (o.nul) text = std::string("ab\0cd\r\nef", 9);
    std::wstring wide(text.begin(), text.end());
    double created = Now();
    HWND h = CreateControl(frame, o);
    double createMs = Now() - created;
    std::printf("bytes=%zu text=%zu create_ms=%.1f tab_empty=%ld\n", o.bytes, text.size(), createMs,
                FirstTabStopAt(h, 0));
    Load(h, text, wide, o, 1);
    if (o.verify) Verify(h, text);
    if (o.reuse) {
        Load(h, text, wide, o, 2);
    } else if (o.reload) {
        double t = Now();
        DestroyWindow(h);
        h = CreateControl(frame, o);
        std::printf("recreate_ms=%.0f\n", Now() - t);
        Load(h, text, wide, o, 2);
    }
    double t = Now();
    DestroyWindow(frame);
    std::printf("destroy_ms=%.0f\n", Now() - t);
    return 0;
}
