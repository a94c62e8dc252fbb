#include "framework/CRichEditView.h"

#include "framework/LoadLog.h"

#include "framework/CArchive.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkTexts.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"

namespace {

constexpr UINT kControlId = 1;

// Printer choice shared by every view of the process (print setup).
UniqueGlobal g_devMode;
UniqueGlobal g_devNames;

HMODULE LoadRichEdit() {
    static HMODULE module = LoadLibraryA("riched20.dll");
    return module;
}

UINT FindMessage() {
    static UINT id = RegisterWindowMessageA(FINDMSGSTRINGA);
    return id;
}

// Carries the caller's object and any exception through the stream-out
// callback, and whether the reader itself asked to stop.
struct StreamContext {
    void* target;
    std::exception_ptr failure;
    bool stoppedByReader = false;
};

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* context = reinterpret_cast<StreamContext*>(cookie);
    *done = size;
    try {
        auto* reader = static_cast<ITextSurface::ChunkReader*>(context->target);
        if (reader->Take(buffer, static_cast<std::size_t>(size))) return 0;
        context->stoppedByReader = true;
        return 1;
    } catch (...) {
        context->failure = std::current_exception();
        return 1;
    }
}

// Stream-in state. The control is never handed a buffer that ends between
// the CR and the LF of a line break or between the two bytes of a
// double-byte character: Wine's control takes a CR at the end of one buffer
// and an LF at the start of the next for two line breaks, and converts every
// buffer to Unicode on its own, so a character cut in two would become two
// wrong ones. Such a last byte is held back and starts the next buffer.
struct StreamInContext {
    ITextSurface::BufferFiller* filler;
    std::exception_ptr failure;
    std::uint8_t heldByte = 0;
    bool holding = false;
    bool ended = false;
};

// Which byte values start a double-byte character in the ANSI code page.
struct LeadBytes {
    bool lead[256] = {};
    LeadBytes() {
        CPINFO info{};
        if (!GetCPInfo(CP_ACP, &info)) return;
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2) {
            for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead[b] = true;
        }
    }
};

// True when the last byte of the text, which starts at a character
// boundary, is a CR or the first byte of a double-byte character. A byte
// outside the lead-byte ranges always ends a character, so the run of
// lead-range bytes before the end pairs up from its start.
bool EndsInsideCharacter(const std::uint8_t* text, std::size_t size) {
    if (size == 0) return false;
    if (text[size - 1] == '\r') return true;
    static const LeadBytes ansi;
    std::size_t run = 0;
    while (run < size && ansi.lead[text[size - 1 - run]]) ++run;
    return run % 2 == 1;
}

// Hands a text held in memory to the stream-in.
class StringFiller : public ITextSurface::BufferFiller {
public:
    explicit StringFiller(const std::string& text) : text_(text) {}
    bool Fill(std::uint8_t* buffer, std::size_t capacity, std::size_t* filled) override {
        std::size_t n = std::min(capacity, text_.size() - at_);
        std::memcpy(buffer, text_.data() + at_, n);
        at_ += n;
        *filled = n;
        return true;
    }

private:
    const std::string& text_;
    std::size_t at_ = 0;
};

// WM_SETTEXT ends the text at a NUL byte and reads a text that starts like
// rich text as RTF; such a text has to go in through the stream-in, which
// takes every byte as it is.
bool SetTextTakes(const std::string& text) {
    if (text.find('\0') != std::string::npos) return false;
    return text.compare(0, 5, "{\\rtf") != 0 && text.compare(0, 6, "{\\urtf") != 0;
}

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* context = reinterpret_cast<StreamInContext*>(cookie);
    *done = 0;
    try {
        std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) : 0;
        std::size_t n = 0;
        if (context->holding && capacity > 0) {
            buffer[n++] = context->heldByte;
            context->holding = false;
        }
        while (!context->ended && n < capacity) {
            std::size_t filled = 0;
            if (!context->filler->Fill(buffer + n, capacity - n, &filled)) return 1;
            if (filled == 0) context->ended = true;
            n += filled;
        }
        // Never hand over the held byte alone: an empty buffer ends the
        // stream-in.
        if (!context->ended && n > 1 && EndsInsideCharacter(buffer, n)) {
            context->heldByte = buffer[--n];
            context->holding = true;
        }
        *done = static_cast<LONG>(n);
        return 0;
    } catch (...) {
        context->failure = std::current_exception();
        return 1;
    }
}

CHARRANGE Selection(HWND control) {
    CHARRANGE range{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

// The selected text in the code page of the control, when it is at most
// maxChars characters long (else empty). A character takes up to two bytes
// in that code page, so the buffer is sized from the character count.
std::string SelectedText(HWND control, LONG maxChars) {
    CHARRANGE sel = Selection(control);
    LONG chars = sel.cpMax - sel.cpMin;
    if (chars <= 0 || chars > maxChars) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(chars) * 2 + 1, '\0');
    SendMessageA(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = '\0';
    return std::string(buffer.data());
}

}  // namespace

CRichEditView::CRichEditView() = default;

CRichEditView::~CRichEditView() {
    if (findDialog_ && IsWindow(findDialog_)) {
        CWinApp::Get()->RemoveModeless(findDialog_);
        DestroyWindow(findDialog_);
    }
}

bool CRichEditView::Create(CFrameWnd* frame, UINT id) {
    frame_ = frame;
    if (!LoadRichEdit()) return false;
    if (!RegisterClassOnce(WindowClassName(), CS_DBLCLKS, nullptr, nullptr)) return false;
    return CreateEx(0, WindowClassName(), "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame->hwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool CRichEditView::CreateControl() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    // The scroll bars are always there (disabled while not needed): a bar
    // that appears once a long text is in would change the client area and
    // with it the formatting rectangle, and the control would lay out the
    // whole text again.
    HWND h = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, "RichEdit20A", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN | ES_DISABLENOSCROLL,
                             0, 0, rc.right, rc.bottom, hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!h) return false;
    control_.reset(h);
    // Plain text: one character format for the whole text, and pasted or
    // dropped rich text arrives as plain text.
    SendMessageA(h, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    SendMessageA(h, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageA(h, EM_SETTARGETDEVICE, 0, 1);  // no word wrap
    SendMessageA(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SCROLL | ENM_SELCHANGE | ENM_DROPFILES);
    OnControlCreated();
    OnLayout();
    return true;
}

void CRichEditView::ResetControl() {
    double start = LoadClock();
    bool hadFocus = control_ && GetFocus() == control_.get();
    control_.reset();
    double destroyed = LoadClock();
    CreateControl();
    if (hadFocus && control_) SetFocus(control_.get());
    AppendLoadLog("reset destroy_ms=%.1f create_ms=%.1f", destroyed - start, LoadClock() - destroyed);
}

bool CRichEditView::HasText() {
    GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
    return SendMessageA(control_.get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0) > 0;
}

void CRichEditView::StreamOut(ChunkReader& reader) {
    StreamContext context{&reader, nullptr};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&context);
    stream.pfnCallback = StreamOutCallback;
    SendMessageA(control_.get(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    if (context.failure) std::rethrow_exception(context.failure);
    // The control stopped handing out the text on its own: what was written
    // is not the whole text, so the save must not go through.
    if (stream.dwError != 0 && !context.stoppedByReader) {
        throw CArchiveException(CArchiveException::kGeneric, "stream-out");
    }
}

void CRichEditView::StreamIn(BufferFiller& filler) {
    // The new text replaces the whole content. A control that still holds
    // text is replaced by a fresh one first: the control's own replacing
    // deletes the old text, which takes far longer than re-creating it.
    if (HasText()) ResetControl();
    HWND h = control_.get();
    double start = LoadClock();

    // The whole text is made first and handed over in one piece.
    std::string text;
    std::exception_ptr failure;
    try {
        constexpr std::size_t kChunk = 64 * 1024;
        for (;;) {
            std::size_t size = text.size();
            text.resize(size + kChunk);
            std::size_t filled = 0;
            bool ok = filler.Fill(reinterpret_cast<std::uint8_t*>(&text[size]), kChunk, &filled);
            text.resize(size + filled);
            if (!ok || filled == 0) break;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    double made = LoadClock();
    if (!failure) {
        try {
            OnTextMade(text);
        } catch (...) {
            failure = std::current_exception();
        }
    }

    // Loading is no edit: keep no undo steps for it and draw only once.
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, EM_SETUNDOLIMIT, 0, 0);
    if (SetTextTakes(text)) {
        // Every new paragraph takes the paragraph format (the tab stops) of
        // the empty control. The control's stream-in gives them its default
        // format instead, and setting the format on every paragraph again
        // makes a load about a third slower.
        SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else {
        PARAFORMAT2 paragraph{};
        paragraph.cbSize = sizeof paragraph;
        SendMessageA(h, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
        StringFiller source(text);
        StreamInContext context{&source, nullptr};
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&context);
        stream.pfnCallback = StreamInCallback;
        SendMessageA(h, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
        CHARRANGE all{0, -1};
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        SendMessageA(h, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    }
    double inserted = LoadClock();
    SendMessageA(h, EM_SETUNDOLIMIT, 100, 0);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    CHARRANGE caret{0, 0};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    OnTextReplaced();
    AppendLoadLog("streamin bytes=%zu fill_ms=%.1f control_ms=%.1f after_ms=%.1f", text.size(), made - start,
                  inserted - made, LoadClock() - inserted);
    if (failure) std::rethrow_exception(failure);
}

bool CRichEditView::FindText(const std::string& what, bool matchCase, bool wholeWord, bool down) {
    HWND h = control_.get();
    if (what.empty() || !h) return false;
    CHARRANGE sel = Selection(h);
    FINDTEXTEXA find{};
    if (down) {
        find.chrg.cpMin = sel.cpMax;
        find.chrg.cpMax = -1;
    } else {
        find.chrg.cpMin = sel.cpMin;
        find.chrg.cpMax = 0;
    }
    find.lpstrText = what.c_str();
    WPARAM flags = (down ? FR_DOWN : 0) | (matchCase ? FR_MATCHCASE : 0) | (wholeWord ? FR_WHOLEWORD : 0);
    LRESULT at = SendMessageA(h, EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find));
    if (at < 0) return false;
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    SendMessageA(h, EM_SCROLLCARET, 0, 0);
    return true;
}

void CRichEditView::ShowFindDialog(bool replace) {
    if (findDialog_ && IsWindow(findDialog_)) {
        CWinApp::Get()->RemoveModeless(findDialog_);
        DestroyWindow(findDialog_);
        findDialog_ = nullptr;
    }
    // Start from the selected text when it is short and on one line.
    HWND h = control_.get();
    std::string selected = SelectedText(h, static_cast<LONG>(sizeof findWhat_) - 1);
    if (!selected.empty() && selected.size() < sizeof findWhat_) {
        if (selected.find('\r') == std::string::npos) lstrcpynA(findWhat_, selected.c_str(), sizeof findWhat_);
    } else if (!lastFind_.empty()) {
        lstrcpynA(findWhat_, lastFind_.c_str(), sizeof findWhat_);
    }
    findRequest_ = FINDREPLACEA{};
    findRequest_.lStructSize = sizeof findRequest_;
    findRequest_.hwndOwner = hwnd();
    findRequest_.Flags = FR_DOWN | (lastMatchCase_ ? FR_MATCHCASE : 0) | (lastWholeWord_ ? FR_WHOLEWORD : 0);
    findRequest_.lpstrFindWhat = findWhat_;
    findRequest_.wFindWhatLen = sizeof findWhat_;
    findRequest_.lpstrReplaceWith = replaceWith_;
    findRequest_.wReplaceWithLen = sizeof replaceWith_;
    findDialog_ = replace ? ReplaceTextA(&findRequest_) : FindTextA(&findRequest_);
    if (findDialog_) CWinApp::Get()->AddModeless(findDialog_);
}

void CRichEditView::OnFindReplaceMessage(FINDREPLACEA* request) {
    if (request->Flags & FR_DIALOGTERM) {
        CWinApp::Get()->RemoveModeless(findDialog_);
        findDialog_ = nullptr;
        return;
    }
    std::string what = request->lpstrFindWhat;
    bool matchCase = (request->Flags & FR_MATCHCASE) != 0;
    bool wholeWord = (request->Flags & FR_WHOLEWORD) != 0;
    bool down = (request->Flags & FR_DOWN) != 0 || (request->Flags & (FR_REPLACE | FR_REPLACEALL)) != 0;
    OnFindDialogSearch(what, matchCase, wholeWord);
    lastFind_ = what;
    lastMatchCase_ = matchCase;
    lastWholeWord_ = wholeWord;
    lastDown_ = down;
    HWND h = control_.get();
    if (request->Flags & FR_REPLACEALL) {
        ReplaceAll(what, request->lpstrReplaceWith, matchCase, wholeWord);
        return;
    }
    if (request->Flags & FR_REPLACE) {
        // Replace the selection when it is the text searched for, then go on.
        // (The text searched for has no more characters than bytes.)
        std::string selected = SelectedText(h, static_cast<LONG>(what.size()));
        bool same = !selected.empty() && (matchCase ? what == selected : text::EqualNoCase(what, selected));
        if (same) SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(request->lpstrReplaceWith));
    }
    if (!FindText(what, matchCase, wholeWord, down)) MessageBeep(MB_ICONASTERISK);
}

void CRichEditView::ReplaceAll(const std::string& what, const std::string& with, bool matchCase, bool wholeWord) {
    HWND h = control_.get();
    WaitCursor wait;
    CHARRANGE start{0, 0};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    int count = 0;
    while (FindText(what, matchCase, wholeWord, true)) {
        SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(with.c_str()));
        ++count;
    }
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    if (count == 0) MessageBeep(MB_ICONASTERISK);
}

void CRichEditView::RepeatFind() {
    if (lastFind_.empty()) {
        ShowFindDialog(false);
        return;
    }
    if (!FindText(lastFind_, lastMatchCase_, lastWholeWord_, lastDown_)) MessageBeep(MB_ICONASTERISK);
}

namespace {

// The printer and page set-up the dialog chose become the shared choice
// (the dialog frees or reuses the handles it was given).
void KeepPrinterChoice(const PRINTDLGA& dialog) {
    if (dialog.hDevMode != g_devMode.get()) {
        g_devMode.release();
        g_devMode.reset(dialog.hDevMode);
    }
    if (dialog.hDevNames != g_devNames.get()) {
        g_devNames.release();
        g_devNames.reset(dialog.hDevNames);
    }
}

}  // namespace

void CRichEditView::Print() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetParentFrame() ? GetParentFrame()->hwnd() : nullptr;
    dialog.hDevMode = g_devMode.get();
    dialog.hDevNames = g_devNames.get();
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgA(&dialog)) return;
    KeepPrinterChoice(dialog);
    UniqueDc dc(dialog.hDC);
    if (!dc) return;
    HDC printer = dc.get();
    // The page in twips, less the margins.
    int dpiX = GetDeviceCaps(printer, LOGPIXELSX);
    int dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    RECT page{0, 0, MulDiv(GetDeviceCaps(printer, PHYSICALWIDTH), 1440, dpiX),
              MulDiv(GetDeviceCaps(printer, PHYSICALHEIGHT), 1440, dpiY)};
    int offsetX = MulDiv(GetDeviceCaps(printer, PHYSICALOFFSETX), 1440, dpiX);
    int offsetY = MulDiv(GetDeviceCaps(printer, PHYSICALOFFSETY), 1440, dpiY);
    RECT area{printMargins_.left - offsetX, printMargins_.top - offsetY,
              page.right - printMargins_.right - offsetX, page.bottom - printMargins_.bottom - offsetY};
    std::string title = GetDocument() ? text::WindowText(GetParentFrame()->hwnd()) : std::string("Pramel");
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    // "Print to file" asks the spooler for the file name.
    if (dialog.Flags & PD_PRINTTOFILE) info.lpszOutput = "FILE:";
    if (StartDocA(printer, &info) <= 0) {
        text::Message(dialog.hwndOwner, texts::kPrintFailed, "", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HWND h = control_.get();
    GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
    LONG length = static_cast<LONG>(SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = printer;
    range.rcPage = page;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    bool ok = true;
    while (ok && range.chrg.cpMin < length) {
        range.rc = area;
        if (StartPage(printer) <= 0) {
            ok = false;
            break;
        }
        LONG next = static_cast<LONG>(SendMessageA(h, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        ok = EndPage(printer) > 0 && next > range.chrg.cpMin;
        range.chrg.cpMin = next;
    }
    SendMessageA(h, EM_FORMATRANGE, FALSE, 0);  // frees the control's cached layout
    if (ok) {
        EndDoc(printer);
    } else {
        AbortDoc(printer);
        text::Message(dialog.hwndOwner, texts::kPrintFailed, "", MB_OK | MB_ICONEXCLAMATION);
    }
}

void CRichEditView::PrintSetup() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetParentFrame() ? GetParentFrame()->hwnd() : nullptr;
    dialog.hDevMode = g_devMode.get();
    dialog.hDevNames = g_devNames.get();
    dialog.Flags = PD_PRINTSETUP;
    if (!PrintDlgA(&dialog)) return;
    KeepPrinterChoice(dialog);
}

void CRichEditView::OnLayout() {
    if (!control_) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    SetWindowPos(control_.get(), nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CRichEditView::OnDropFiles(HDROP drop) {
    std::vector<std::string> paths = CFrameWnd::DroppedFilePaths(drop);
    for (const auto& path : paths) CWinApp::Get()->OpenDocumentFile(path);
}

bool CRichEditView::OnCmdMsg(UINT id, CCmdUI* ui) {
    HWND h = control_.get();
    CHARRANGE sel = h ? Selection(h) : CHARRANGE{0, 0};
    bool hasSelection = sel.cpMax > sel.cpMin;
    switch (id) {
    case ids::kEditCut:
    case ids::kEditCopy:
    case ids::kEditClear:
        if (ui) {
            ui->Enable(hasSelection);
        } else {
            SendMessageA(h, id == ids::kEditCut ? WM_CUT : id == ids::kEditCopy ? WM_COPY : WM_CLEAR, 0, 0);
        }
        return true;
    case ids::kEditPaste:
        if (ui) ui->Enable(SendMessageA(h, EM_CANPASTE, 0, 0) != 0);
        else SendMessageA(h, WM_PASTE, 0, 0);
        return true;
    case ids::kEditPasteSpecial:
        if (ui) ui->Enable(IsClipboardFormatAvailable(CF_TEXT) != 0);
        else SendMessageA(h, EM_PASTESPECIAL, CF_TEXT, 0);
        return true;
    case ids::kEditUndo:
        if (ui) ui->Enable(SendMessageA(h, EM_CANUNDO, 0, 0) != 0);
        else SendMessageA(h, EM_UNDO, 0, 0);
        return true;
    case ids::kEditRedo:
        if (ui) ui->Enable(SendMessageA(h, EM_CANREDO, 0, 0) != 0);
        else SendMessageA(h, EM_REDO, 0, 0);
        return true;
    case ids::kEditSelectAll:
        if (ui) {
            ui->Enable(true);
        } else {
            CHARRANGE all{0, -1};
            SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        }
        return true;
    case ids::kEditFind:
    case ids::kEditReplace:
        if (ui) ui->Enable(true);
        else ShowFindDialog(id == ids::kEditReplace);
        return true;
    case ids::kEditRepeat:
        if (ui) ui->Enable(true);
        else RepeatFind();
        return true;
    case ids::kFilePrint:
        if (ui) ui->Enable(true);
        else Print();
        return true;
    case ids::kFilePrintSetup:
        if (ui) ui->Enable(true);
        else PrintSetup();
        return true;
    default:
        return false;
    }
}

LRESULT CRichEditView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == FindMessage() && msg != 0) {
        OnFindReplaceMessage(reinterpret_cast<FINDREPLACEA*>(lp));
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        return CreateControl() ? 0 : -1;
    case WM_SIZE:
        OnLayout();
        return 0;
    case WM_SETFOCUS:
        if (control_) SetFocus(control_.get());
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the control covers the whole view
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == control_.get() && control_) {
            switch (HIWORD(wp)) {
            case EN_CHANGE:
                OnTextChanged();
                return 0;
            case EN_VSCROLL:
                OnVerticalScroll();
                return 0;
            default:
                return 0;
            }
        }
        // Commands from the view's own children go to the frame.
        if (GetParentFrame()) return SendMessageA(GetParentFrame()->hwnd(), msg, wp, lp);
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->hwndFrom == control_.get() && control_) {
            switch (header->code) {
            case EN_SELCHANGE:
                OnSelectionChanged();
                return 0;
            case EN_DROPFILES: {
                auto* drop = reinterpret_cast<ENDROPFILES*>(lp);
                OnDropFiles(static_cast<HDROP>(drop->hDrop));
                return 0;  // opened here; the control inserts nothing
            }
            default:
                return 0;
            }
        }
        return 0;
    }
    case WM_VSCROLL:
        OnVerticalScroll();
        return Default(msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}
