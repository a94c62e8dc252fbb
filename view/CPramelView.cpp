#include "view/CPramelView.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "pipeline/CConvClrComment.h"
#include "pipeline/CConvSetComment.h"
#include "pipeline/Chains.h"

#include "document/CPramelApp.h"
#include "document/CPramelDoc.h"
#include "frame/CMainFrame.h"
#include "frame/CViewSetDlg.h"
#include "framework/Handles.h"
#include "framework/LoadLog.h"
#include "framework/StandardIds.h"
#include "resources/pramel/resource.h"
#include "view/CAsciiWnd.h"
#include "view/CLineWnd.h"
#include "view/core/GutterStyle.h"
#include "view/core/LineText.h"

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

CPramelView::~CPramelView() = default;

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
    // The gutter and the pane are children of this container, beside the
    // control: they outlive the control, which every load replaces.
    auto gutter = std::make_unique<CLineWnd>(*this);
    if (gutter->Create(hwnd())) gutter_ = std::move(gutter);
    auto pane = std::make_unique<CAsciiWnd>(*this);
    if (pane->Create(hwnd())) pane_ = std::move(pane);
    OnLayout();
    SetPrintMargins(RECT{kPrintMargin, kPrintMargin, kPrintMargin, kPrintMargin});
}

void CPramelView::ApplyFontSize(int command) {
    fontSizeCommand = command;
    CPramelApp::Get()->WriteProfileInt(kSection, "FontSize", command);
    ApplyCharacterFormat();
    charWidthTwips = MeasureCharWidthTwips();
    ApplyTabWidth(CPramelApp::Get()->GetProfileInt(kSection, "TabCount", ID_TAB_1));
    if (gutter_) gutter_->RebuildFont();
    if (pane_) pane_->RebuildFont();
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
    if (!recordsFromLoad_) {
        // The gutter, the pane and the displays follow at the next refresh.
        OnTextChanged();
        return;
    }
    // The records describe the text already: the rest of a refresh is
    // cheap, and reading the long text out of the control again is not.
    recordsFromLoad_ = false;
    KillTimer(hwnd(), kRefreshTimer);
    refreshPending = 0;
    if (pane_) pane_->Invalidate();
    RepaintPanes();
    headingLine_ = kNoHeadingRead;
    UpdateLiveDisplays();
}

void CPramelView::OnTextMade(const std::string& text) {
    // Made from the text before the control holds it: a gutter that grows
    // wider for the new byte count then changes the formatting rectangle
    // of the empty control. Changed afterwards, it would make the control
    // lay out the whole text again (seconds for a dump of 1 MiB).
    // (A text with a NUL byte goes in through the control's stream-in,
    // whose lines may differ: it waits for the refresh.)
    if (!gutter_ || text.find('\0') != std::string::npos) return;
    gutter_->RecomputeFrom(text);
    OnLayout();
    recordsFromLoad_ = true;
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
    // The gutter and the pane lie over the control's client area, above it
    // (a new control is created on top of them), and the text is inset by
    // their widths so that it never runs under them.
    RECT client{};
    GetClientRect(h, &client);
    RECT area = client;
    MapWindowPoints(h, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    int left = gutter_ ? gutter_->Layout(area) + kInset : kInset;
    int right = pane_ ? pane_->Layout(area) + kInset : kInset;
    RECT rc = client;
    rc.left += left;
    rc.right -= right;
    if (rc.right < rc.left) rc.right = rc.left;
    // A new formatting rectangle makes the control lay out all of its text
    // again, which takes long on a long text: only when it changed.
    // (The control does not hand back the rectangle it was given, so the
    // last one given is kept here.)
    if (h == formatControl_ && EqualRect(&formatRect_, &rc)) return;
    SendMessageA(h, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rc));
    formatControl_ = h;
    formatRect_ = rc;
}

CPramelView::LineGeometry CPramelView::VisibleLineGeometry(int fallbackHeight) const {
    LineGeometry geometry{0, 0, 0, fallbackHeight};
    HWND h = control();
    if (!h) return geometry;
    geometry.lines = static_cast<long>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    // Every line has the same height (one font, no word wrap), so the first
    // visible line follows from where line 0 is drawn. Asking the control
    // for the first visible line or the position of a line far down costs
    // time in proportion to the lines before it; these look-ups touch only
    // lines 0 and 1, which keeps a repaint cheap on a long text.
    POINTL line0{};
    SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line0), 0);
    if (geometry.lines >= 2) {
        POINTL line1{};
        SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line1), SendMessageA(h, EM_LINEINDEX, 1, 0));
        if (line1.y > line0.y) geometry.height = line1.y - line0.y;
    }
    RECT format{};
    SendMessageA(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    long above = format.top - line0.y;  // pixels scrolled out of view
    if (above > 0 && geometry.height > 0) geometry.first = above / geometry.height;
    if (geometry.first > geometry.lines - 1) geometry.first = geometry.lines > 0 ? geometry.lines - 1 : 0;
    geometry.top = line0.y + static_cast<int>(geometry.first) * geometry.height;
    return geometry;
}

std::string CPramelView::TextRange(long start, long end) const {
    if (!control()) return std::string();
    GETTEXTLENGTHEX request{GTL_NUMCHARS, CP_ACP};
    long length = static_cast<long>(SendMessageA(control(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    if (end > length) end = length;
    if (start < 0) start = 0;
    if (end <= start) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(end - start) * 2 + 2, '\0');
    TEXTRANGEA range{};
    range.chrg.cpMin = start;
    range.chrg.cpMax = end;
    range.lpstrText = buffer.data();
    LRESULT n = SendMessageA(control(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (n <= 0) return std::string();
    buffer.back() = '\0';
    return std::string(buffer.data());
}

long CPramelView::LineOf(long character) const {
    return static_cast<long>(SendMessageA(control(), EM_EXLINEFROMCHAR, 0, character));
}

long CPramelView::LineStart(long line) const {
    return static_cast<long>(SendMessageA(control(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

std::string CPramelView::LinesText(long first, long last) const {
    HWND h = control();
    if (!h || last < first) return std::string();
    long lines = static_cast<long>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    if (first >= lines) return std::string();
    GETTEXTLENGTHEX request{GTL_NUMCHARS, CP_ACP};
    long length = static_cast<long>(SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    long start = LineStart(first);
    if (start < 0) return std::string();
    // One look-up for the first line's start; the text is then read in a
    // piece sized from the average line and widened until it holds every
    // line asked for (a look-up of the last line's end would cost as much
    // again on a long text).
    long wanted = last - first + 1;
    long average = lines > 0 ? length / lines + 1 : 1;
    long size = wanted * (average + 8);
    for (;;) {
        long end = std::min(length, start + size);
        std::string text = TextRange(start, end);
        long breaks = 0;
        std::size_t cut = std::string::npos;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n') continue;
            if (++breaks == wanted) {
                cut = i;
                break;
            }
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
        if (cut != std::string::npos) return text.substr(0, cut);
        if (end >= length) return text;
        size *= 2;
    }
}

HFONT CPramelView::CreatePaneFont(int* digitWidth, int* descent, int* height) const {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(control(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    HDC dc = GetDC(hwnd());
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    LOGFONTA logFont{};
    logFont.lfHeight = -((format.yHeight / 20) * dpi / 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = format.bCharSet;
    logFont.lfPitchAndFamily = format.bPitchAndFamily;
    lstrcpynA(logFont.lfFaceName, format.szFaceName, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&logFont);
    if (dc) {
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        SIZE zero{};
        if (GetTextExtentPoint32A(dc, "0", 1, &zero) && zero.cx > 0) *digitWidth = zero.cx;
        TEXTMETRICA metrics{};
        if (GetTextMetricsA(dc, &metrics)) {
            *descent = metrics.tmDescent;
            *height = metrics.tmHeight;
        }
        if (old) SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
    }
    return font;
}

int CPramelView::ReadSetting(const char* name, int fallback) const {
    return CPramelApp::Get()->GetProfileInt(kSection, name, fallback);
}

HWND CPramelView::FrameWindow() const { return GetParentFrame() ? GetParentFrame()->hwnd() : nullptr; }

void CPramelView::ShowStatusMessage(const std::string& text) {
    if (GetParentFrame()) GetParentFrame()->SetMessageText(text);
}

void CPramelView::SetFileSizeField(const std::string& text) {
    if (auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame())) frame->SetInfoField(IDC_FILE_SIZE, text);
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
    // A refresh that took the longest delay last time shows the wait cursor.
    bool slow = refreshDelay == kMaxRefreshDelay;
    HCURSOR old = slow ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr;
    DWORD start = GetTickCount();
    double clock = LoadClock();
    if (gutter_ && gutter_->Recompute()) {
        OnLayout();  // the gutter's width follows the byte count
        gutter_->RepaintNow();
    }
    double recomputed = LoadClock();
    if (pane_) {
        pane_->Invalidate();
        pane_->RepaintNow();
    }
    headingLine_ = kNoHeadingRead;
    UpdateLiveDisplays();
    refreshPending = 0;
    lastRefreshMs_ = GetTickCount() - start;
    refreshDelay = NextRefreshDelay(lastRefreshMs_);
    AppendLoadLog("refresh recompute_ms=%.1f panes_ms=%.1f total_ms=%.1f delay_ms=%u", recomputed - clock,
                  LoadClock() - recomputed, LoadClock() - clock, refreshDelay);
    if (slow) SetCursor(old);
}

void CPramelView::RepaintPanes() {
    if (gutter_) gutter_->RepaintNow();
    if (pane_) pane_->RepaintNow();
    paintedScroll_ = ScrollTop();
}

long CPramelView::ScrollTop() const {
    POINT scroll{};
    if (control()) SendMessageA(control(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return scroll.y;
}

void CPramelView::OnVerticalScroll() { RepaintPanes(); }

void CPramelView::OnSelectionChanged() {
    UpdateLiveDisplays();
    // A caret moved by the keyboard scrolls the text without a scroll
    // notification from every control: the panes follow here.
    if (control() && ScrollTop() != paintedScroll_) RepaintPanes();
}

void CPramelView::UpdateLiveDisplays() {
    HWND h = control();
    if (!h) return;
    CHARRANGE selection{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    UpdateHeadingField(selection);
    UpdateCaretValue(selection);
}

void CPramelView::UpdateHeadingField(const CHARRANGE& selection) {
    auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame());
    if (!frame || !gutter_) return;
    long heading = linetext::HeadingAtOrAbove(gutter_->records(), gutter_->lineCount(), LineOf(selection.cpMin));
    // The heading's text is read again only when the caret comes under
    // another heading or the text was refreshed.
    if (heading != headingLine_) {
        headingText_ = heading >= 0 ? linetext::HeadingFieldText(LinesText(heading, heading)) : std::string();
        headingLine_ = heading;
    }
    frame->SetHeadingText(headingText_);
}

void CPramelView::UpdateCaretValue(const CHARRANGE& selection) {
    auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame());
    if (!frame) return;
    std::string run;
    if (selection.cpMax == selection.cpMin) {
        // Up to 9 characters either side of the caret. The run of digits
        // never crosses a line break, so the window need not be cut to the
        // caret's line (which would cost line look-ups on a long text).
        long p = selection.cpMin;
        long from = std::max(0L, p - 9);
        run = linetext::CaretRun(TextRange(from, p + 9), p - from);
    } else if (selection.cpMax - selection.cpMin <= 8) {
        run = linetext::SelectionRun(TextRange(selection.cpMin, selection.cpMax));
    }
    frame->SetInfoField(IDC_CARET_VALUE, linetext::CaretValueText(run));
}

void CPramelView::ApplyGutterStyle(UINT command) {
    if (!gutter_) return;
    gutter::StyleCommand kind = command == ID_OFFSET_BYTE    ? gutter::StyleCommand::Byte
                                : command == ID_OFFSET_WORD  ? gutter::StyleCommand::Word
                                : command == ID_OFFSET_DWORD ? gutter::StyleCommand::DoubleWord
                                : command == ID_OFFSET_LINE  ? gutter::StyleCommand::LineNumber
                                : command == ID_RADIX_DEC    ? gutter::StyleCommand::Decimal
                                                             : gutter::StyleCommand::Hexadecimal;
    gutter::StyleRequest request = gutter::RequestFor(kind, gutter_->style());
    SendMessageA(gutter_->hwnd(), CLineWnd::kStyleMessage, static_cast<WPARAM>(request.what),
                 static_cast<LPARAM>(request.style));
    OnLayout();
    CPramelApp::Get()->WriteProfileInt(kSection, "LineStyle", static_cast<int>(gutter_->style()));
}

void CPramelView::ToggleCharacterPane() {
    if (!pane_) return;
    pane_->Toggle();
    OnLayout();
}

void CPramelView::CommentLines(bool out) {
    HWND h = control();
    if (!h) return;
    CHARRANGE selection{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    long a = LineOf(selection.cpMin);
    long b = LineOf(selection.cpMax);
    if (a == b && SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(LineStart(a)), 0) == 0) return;
    // Whole lines a..b; the line break after b stays outside.
    auto wholeLines = [&]() {
        long lines = static_cast<long>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
        CHARRANGE range{LineStart(a), 0};
        if (b + 1 < lines) {
            range.cpMax = LineStart(b + 1) - 1;
        } else {
            GETTEXTLENGTHEX request{GTL_NUMCHARS, CP_ACP};
            range.cpMax = static_cast<LONG>(SendMessageA(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
        }
        return range;
    };
    CHARRANGE range = wholeLines();
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    std::string text = TextRange(range.cpMin, range.cpMax);
    std::string result;
    if (out) {
        CConvSetComment stage;
        result = RunStringStage(stage, text);
    } else {
        CConvClrComment stage;
        result = RunStringStage(stage, text);
    }
    // One undoable step.
    SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(result.c_str()));
    range = wholeLines();
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CPramelView::MoveToHeading(bool up) {
    HWND h = control();
    if (!h || !gutter_) return;
    CHARRANGE selection{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    long a = LineOf(selection.cpMin);
    long b = FirstVisibleLine();
    long n = up ? linetext::HeadingAbove(gutter_->records(), gutter_->lineCount(), a)
                : linetext::HeadingBelow(gutter_->records(), gutter_->lineCount(), a);
    long lines = static_cast<long>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    if (n < 0 || n >= lines) return;
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    long start = LineStart(n);
    CHARRANGE caret{start, start};
    SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(h, EM_SCROLLCARET, 0, 0);
    long d = FirstVisibleLine();
    if (d != b) {
        // The heading goes to the screen row the caret was on.
        SendMessageA(h, EM_LINESCROLL, 0, n + b - d - a);
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    }
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    RepaintPanes();
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
    case ID_OFFSET_BYTE:
    case ID_OFFSET_WORD:
    case ID_OFFSET_DWORD:
    case ID_OFFSET_LINE:
    case ID_RADIX_DEC:
    case ID_RADIX_HEX:
        if (!gutter_) return false;
        if (ui) {
            unsigned style = gutter_->style();
            bool on;
            switch (id) {
            case ID_OFFSET_BYTE: on = gutter::KindOf(style) == gutter::kByte; break;
            case ID_OFFSET_WORD: on = gutter::KindOf(style) == gutter::kWord; break;
            case ID_OFFSET_DWORD: on = gutter::KindOf(style) == gutter::kDoubleWord; break;
            case ID_OFFSET_LINE: on = gutter::KindOf(style) == gutter::kLineNumber; break;
            case ID_RADIX_DEC: on = gutter::IsDecimal(style); break;
            default: on = !gutter::IsDecimal(style); break;
            }
            ui->Enable(true);
            ui->SetRadio(on);
        } else {
            ApplyGutterStyle(id);
        }
        return true;
    case ID_ASCII_PANE:
        if (!pane_) return false;
        if (ui) {
            ui->Enable(true);
            ui->SetRadio(pane_->visible());
        } else {
            ToggleCharacterPane();
        }
        return true;
    case ID_COMMENT_OUT:
    case ID_COMMENT_CLEAR:
        if (ui) ui->Enable(control() != nullptr);
        else CommentLines(id == ID_COMMENT_OUT);
        return true;
    case ID_HEADING_UP:
    case ID_HEADING_DOWN:
        if (!gutter_) return false;
        if (ui) ui->Enable(true);
        else MoveToHeading(id == ID_HEADING_UP);
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
