#include "view/CPramelView.h"

#include <richedit.h>

#include "document/CPramelApp.h"
#include "document/CPramelDoc.h"
#include "frame/CMainFrame.h"
#include "frame/CViewSetDlg.h"
#include "framework/Handles.h"
#include "framework/StandardIds.h"
#include "resources/pramel/resource.h"

namespace {

const char kSection[] = "PramelView";
const char kFaceName[] = "ＭＳ ゴシック";
constexpr int kInset = 4;
constexpr int kPrintMargin = 720;

}  // namespace

CPramelView::CPramelView() {
    // Read before the control exists: it is set up from these at creation.
    CPramelApp* app = CPramelApp::Get();
    fontSizeCommand = app->GetProfileInt(kSection, "FontSize", ID_FONT_MEDIUM);
    tabCommand = app->GetProfileInt(kSection, "TabCount", ID_TAB_1);
    bytesPerLine = app->GetProfileInt(kSection, "LineSize", 16);
    separatorCode = app->GetProfileInt(kSection, "SepaCode", 0);
    // A value edited by hand outside its range would break the dump.
    if (bytesPerLine < 4 || bytesPerLine > 64) bytesPerLine = 16;
    if (separatorCode < 0 || separatorCode > 2) separatorCode = 0;
}

CPramelDoc* CPramelView::GetPramelDoc() const { return dynamic_cast<CPramelDoc*>(GetDocument()); }

int CPramelView::FontHeightFor(int command) {
    switch (command) {
    case ID_FONT_LARGEST: return 380;
    case ID_FONT_LARGE: return 320;
    case ID_FONT_MEDIUM: return 280;
    case ID_FONT_SMALL: return 240;
    case ID_FONT_SMALLEST: return 180;
    default: return 0;
    }
}

int CPramelView::TabWidthFor(int command) {
    switch (command) {
    case ID_TAB_2: return 2;
    case ID_TAB_4: return 4;
    case ID_TAB_8: return 8;
    default: return 1;
    }
}

unsigned CPramelView::NextRefreshDelay(unsigned elapsed) {
    if (elapsed < kMinRefreshDelay) return kMinRefreshDelay;
    if (elapsed > kMaxRefreshDelay) return kMaxRefreshDelay;
    return elapsed;
}

void CPramelView::OnControlCreated() {
    HWND h = control();
    // The control must never switch fonts by itself.
    LRESULT options = SendMessageA(h, EM_GETLANGOPTIONS, 0, 0);
    SendMessageA(h, EM_SETLANGOPTIONS, 0, options & ~(IMF_AUTOFONT | IMF_DUALFONT));
    ApplyCharacterFormat();
    SetTabStops();
}

namespace {

CHARFORMAT2A EditorCharFormat(int height) {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    // A size command outside the table (a hand-edited setting) leaves the
    // control's own height.
    format.dwMask = CFM_FACE | CFM_CHARSET | (height ? CFM_SIZE : 0);
    format.bCharSet = SHIFTJIS_CHARSET;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(format.szFaceName, kFaceName, LF_FACESIZE);
    format.yHeight = height;
    return format;
}

}  // namespace

void CPramelView::ApplyCharacterFormat() {
    CHARFORMAT2A format = EditorCharFormat(FontHeightFor(fontSizeCommand));
    SendMessageA(control(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(control(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

LONG CPramelView::MeasureCharWidthTwips() const {
    // Measured on a hidden control with the same format: how a control
    // rounds the font's height in twips to pixels differs between systems,
    // and a tab stop must end exactly on a character cell.
    CHARFORMAT2A format = EditorCharFormat(FontHeightFor(fontSizeCommand));
    LONG fallback = format.yHeight / 2;
    HWND probe = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 4000, 400, hwnd(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!probe) return fallback;
    SendMessageA(probe, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTICODEPAGE, 0);
    LRESULT options = SendMessageA(probe, EM_GETLANGOPTIONS, 0, 0);
    SendMessageA(probe, EM_SETLANGOPTIONS, 0, options & ~(IMF_AUTOFONT | IMF_DUALFONT));
    SendMessageA(probe, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SetWindowTextA(probe, "00000000000");
    SendMessageA(probe, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    POINTL first{};
    POINTL tenth{};
    SendMessageA(probe, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0);
    SendMessageA(probe, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&tenth), 10);
    HDC dc = GetDC(probe);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(probe, dc);
    DestroyWindow(probe);
    LONG twips = MulDiv(tenth.x - first.x, 1440, dpi > 0 ? dpi : 96) / 10;
    return twips > 0 ? twips : fallback;
}

void CPramelView::OnInitialUpdate() {
    ApplyFontSize(fontSizeCommand);
    SetPrintMargins(RECT{kPrintMargin, kPrintMargin, kPrintMargin, kPrintMargin});
}

void CPramelView::ApplyFontSize(int command) {
    fontSizeCommand = command;
    CPramelApp::Get()->WriteProfileInt(kSection, "FontSize", command);
    ApplyCharacterFormat();
    charWidthTwips = MeasureCharWidthTwips();
    ApplyTabWidth(CPramelApp::Get()->GetProfileInt(kSection, "TabCount", ID_TAB_1));
    OnLayout();
}

void CPramelView::ApplyTabWidth(int command) {
    tabCommand = command;
    CPramelApp::Get()->WriteProfileInt(kSection, "TabCount", command);
    SetTabStops();
}

void CPramelView::OnTextReplaced() {
    // Every loaded paragraph has the tab stops the empty control was given
    // (the base keeps its paragraph format). Loading is no edit: nothing of
    // it is to be undone.
    SendMessageA(control(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void CPramelView::SetTabStops() {
    HWND h = control();
    if (!h) return;
    int width = TabWidthFor(tabCommand);
    // One stop of 4 x n dialog units (4 units are one average character),
    // repeated across the line.
    UINT stop = static_cast<UINT>(4 * width);
    SendMessageA(h, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    // Not every rich-edit control measures tabs from that message (Wine's
    // ignores it); give the same stops as paragraph format too, in twips.
    LONG step = (charWidthTwips > 0 ? charWidthTwips : MeasureCharWidthTwips()) * width;
    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_TABSTOPS;
    paragraph.cTabCount = MAX_TAB_STOPS;
    for (int i = 0; i < MAX_TAB_STOPS; ++i) paragraph.rgxTabs[i] = step * (i + 1);
    // Paragraph format goes to the selected paragraphs only: select the
    // whole text for it, without notifications or drawing, then put the
    // selection and the scroll position back.
    LRESULT mask = SendMessageA(h, EM_GETEVENTMASK, 0, 0);
    SendMessageA(h, EM_SETEVENTMASK, 0, 0);
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    CHARRANGE selection{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT scroll{};
    SendMessageA(h, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    CHARRANGE all{0, -1};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    SendMessageA(h, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageA(h, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    SendMessageA(h, EM_SETEVENTMASK, 0, mask);
}

void CPramelView::OnLayout() {
    CRichEditView::OnLayout();
    HWND h = control();
    if (!h) return;
    // The gutter and the character pane, when a view has them, widen these
    // insets by their own widths; the text never runs under them.
    int left = kInset;
    int right = kInset;
    RECT rc{};
    GetClientRect(h, &rc);
    rc.left += left;
    rc.right -= right;
    if (rc.right < rc.left) rc.right = rc.left;
    SendMessageA(h, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rc));
}

int CPramelView::FirstVisibleLine() const {
    return static_cast<int>(SendMessageA(control(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

void CPramelView::ShowLineAtTop(int line) {
    HWND h = control();
    int lines = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    if (line >= lines) line = lines > 0 ? lines - 1 : 0;
    if (line < 0) line = 0;
    LONG start = static_cast<LONG>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    if (start < 0) start = 0;
    CHARRANGE caret{start, start};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    int first = FirstVisibleLine();
    SendMessageA(h, EM_LINESCROLL, 0, line - first);
}

void CPramelView::OnTextChanged() {
    if (refreshPending) KillTimer(hwnd(), kRefreshTimer);
    refreshPending = 1;
    SetTimer(hwnd(), kRefreshTimer, refreshDelay, nullptr);
}

void CPramelView::RunRefresh() {
    KillTimer(hwnd(), kRefreshTimer);
    if (!refreshPending) return;
    bool slow = refreshDelay == kMaxRefreshDelay;
    HCURSOR old = slow ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr;
    DWORD start = GetTickCount();
    // The gutter's line records, the character pane and the live displays
    // are refreshed here once those panes exist.
    refreshPending = 0;
    refreshDelay = NextRefreshDelay(GetTickCount() - start);
    if (slow) SetCursor(old);
}

void CPramelView::OnFindDialogSearch(const std::string& what, bool matchCase, bool wholeWord) {
    findMatchCase = matchCase ? 1 : 0;
    findWholeWord = wholeWord ? 1 : 0;
    if (auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame())) frame->AddFindHistory(what);
}

void CPramelView::FindFromBox(bool down) {
    auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame());
    if (!frame) return;
    std::string what = frame->FindBoxText();
    if (what.empty()) return;
    {
        WaitCursor wait;
        FindText(what, findMatchCase != 0, findWholeWord != 0, down);
    }
    frame->AddFindHistory(what);
}

void CPramelView::RunViewSettings() {
    CViewSetDlg dialog(GetParentFrame() ? GetParentFrame()->hwnd() : nullptr);
    dialog.bytesPerLine = bytesPerLine;
    dialog.separatorCode = separatorCode;
    dialog.DoModal();
    bytesPerLine = dialog.bytesPerLine;
    separatorCode = dialog.separatorCode;
    CPramelApp::Get()->WriteProfileInt(kSection, "LineSize", bytesPerLine);
    CPramelApp::Get()->WriteProfileInt(kSection, "SepaCode", separatorCode);
    if (CPramelDoc* doc = GetPramelDoc()) doc->Reload();
}

bool CPramelView::OnCmdMsg(UINT id, CCmdUI* ui) {
    CPramelDoc* doc = GetPramelDoc();
    // The document's commands that reload or save it wait while it is busy.
    if (doc && doc->IsBusy() && CPramelDoc::IsBlockedWhileBusy(id)) {
        if (ui) ui->Enable(false);
        return true;
    }
    switch (id) {
    case ID_ENDIAN_LITTLE:
    case ID_ENDIAN_BIG: {
        int order = id == ID_ENDIAN_BIG ? 1 : 0;
        if (!doc) return false;
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(doc->byteOrder == order);
        } else {
            doc->ChangeByteOrder(order);
        }
        return true;
    }
    case ID_DATA_BYTE:
    case ID_DATA_WORD:
    case ID_DATA_DWORD: {
        int size = id == ID_DATA_BYTE ? 1 : id == ID_DATA_WORD ? 2 : 4;
        if (!doc) return false;
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(doc->dataSize == size);
        } else {
            doc->ChangeDataSize(size);
        }
        return true;
    }
    case ID_PRESAVE_CHECK:
        if (!doc) return false;
        if (ui) {
            ui->Enable(doc->mode == CPramelDoc::kModeTemplate);
            ui->SetCheck(doc->preSaveCheck != 0);
        } else {
            doc->preSaveCheck = doc->preSaveCheck ? 0 : 1;
        }
        return true;
    case ID_FONT_LARGEST:
    case ID_FONT_LARGE:
    case ID_FONT_MEDIUM:
    case ID_FONT_SMALL:
    case ID_FONT_SMALLEST:
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(fontSizeCommand == static_cast<int>(id));
        } else {
            ApplyFontSize(static_cast<int>(id));
        }
        return true;
    case ID_TAB_1:
    case ID_TAB_2:
    case ID_TAB_4:
    case ID_TAB_8:
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(tabCommand == static_cast<int>(id));
        } else {
            ApplyTabWidth(static_cast<int>(id));
        }
        return true;
    case ID_FIND_BOX_FIND:
        if (ui) ui->Enable(true);
        else if (GetParentFrame()) SendMessageA(GetParentFrame()->hwnd(), WM_COMMAND, ids::kEditFind, 0);
        return true;
    case ID_FIND_DOWN:
    case ID_FIND_UP:
        if (ui) ui->Enable(true);
        else FindFromBox(id == ID_FIND_DOWN);
        return true;
    case ID_VIEW_SETTINGS:
        if (ui) ui->Enable(true);
        else RunViewSettings();
        return true;
    default:
        return CRichEditView::OnCmdMsg(id, ui);
    }
}

LRESULT CPramelView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kRefreshTimer) {
            RunRefresh();
            return 0;
        }
        return CRichEditView::WindowProc(msg, wp, lp);
    case kShowErrorMessage:
        ShowPostedMessage(wp, lp);
        return 0;
    default:
        return CRichEditView::WindowProc(msg, wp, lp);
    }
}

namespace {

// Marks the messages this view posts; with the serial number it tells
// them from a 0x0500 that another program sends.
LPARAM PostCookie() {
    static const LPARAM cookie = static_cast<LPARAM>(GetCurrentProcessId()) ^ static_cast<LPARAM>(0x5A3C0500);
    return cookie;
}

}  // namespace

void CPramelView::PostErrorMessage(const std::string& text, const std::string& caption) {
    WPARAM serial = nextSerial_++;
    posted_.push_back({serial, text, caption});
    if (!PostMessageA(hwnd(), kShowErrorMessage, serial, PostCookie())) posted_.pop_back();
}

void CPramelView::ShowPostedMessage(WPARAM serial, LPARAM cookie) {
    if (cookie != PostCookie()) return;
    for (auto it = posted_.begin(); it != posted_.end(); ++it) {
        if (it->serial != serial) continue;
        PostedMessage message = std::move(*it);
        posted_.erase(it);
        MessageBoxA(GetParentFrame() ? GetParentFrame()->hwnd() : hwnd(), message.text.c_str(),
                    message.caption.c_str(), MB_OK | MB_ICONERROR);
        return;
    }
}
