#include "view/CLineWnd.h"

#include <richedit.h>

#include "pipeline/CPackBinary.h"
#include "resources/pramel/resource.h"
#include "view/CPramelView.h"
#include "view/ViewTexts.h"
#include "view/core/GutterStyle.h"

namespace {

const char kClassName[] = "PramelLineWnd";
const COLORREF kBackground = RGB(200, 200, 255);
const COLORREF kHeadingBand = RGB(0, 100, 100);
const COLORREF kHeadingText = RGB(255, 255, 255);
constexpr int kTextX = 5;

}  // namespace

CLineWnd::CLineWnd(CPramelView& view) : view_(view) {
    unsigned stored = static_cast<unsigned>(view.ReadSetting("LineStyle", kDefaultStyle));
    // A hand-edited value that names no style starts with byte offsets.
    style_ = stored == 0 || gutter::IsAcceptedStyle(stored) ? stored : kDefaultStyle;
    records_.assign(256, LineRecord{0, 0, 0});
}

bool CLineWnd::Create(HWND parent) {
    if (!RegisterClassOnce(kClassName, 0, nullptr, nullptr)) return false;
    if (!CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr)) return false;
    RebuildFont();
    Recompute();
    return true;
}

int CLineWnd::width() const { return gutter::Width(style_, digitWidth_, digits_); }

void CLineWnd::RebuildFont() {
    font_.reset(view_.CreatePaneFont(&digitWidth_, &descent_, &fontHeight_));
    redraw_ = true;
}

bool CLineWnd::Recompute() {
    HWND control = view_.control();
    if (!control) return false;
    auto lines = static_cast<std::uint32_t>(SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    CStream source(kRichEditStream, static_cast<ITextSurface*>(&view_));
    return RunRecords(source, lines);
}

bool CLineWnd::RecomputeFrom(const std::string& text) {
    // The control makes a paragraph of every CR LF, lone CR and lone LF.
    std::uint32_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            ++lines;
        }
    }
    // A string source only reads its string.
    CStream source(kStringStream, const_cast<std::string*>(&text));
    return RunRecords(source, lines);
}

bool CLineWnd::RunRecords(CStream& source, std::uint32_t lines) {
    changed_ = false;
    if (lines == 0) lines = 1;
    if (lines != lineCount_) changed_ = true;
    lineCount_ = lines;
    // One record per line and one more for the end of the text, which the
    // stage closes with the text's total.
    records_.resize(static_cast<std::size_t>(lineCount_) + 1, LineRecord{0, 0, 0});
    lineStage_.SetRecords(records_.data(), records_.size() * sizeof(LineRecord));
    CPackBinary lexer;
    Link(source, lexer);
    Link(lexer, lineStage_);
    RunChain(&source);
    if (lineStage_.changed()) changed_ = true;
    std::uint32_t last = lineStage_.lineIndex() > 0 ? lineStage_.lineIndex() - 1 : 0;
    totalBytes_ = gutter::TotalBytes(records_.data(), last);
    view_.SetFileSizeField(gutter::FileSizeText(totalBytes_));
    return changed_;
}

int CLineWnd::Layout(const RECT& area) {
    digits_ = gutter::DigitCount(style_, totalBytes_);
    int w = width();
    SetWindowPos(hwnd(), HWND_TOP, area.left, area.top, w, area.bottom - area.top, SWP_NOACTIVATE);
    if (redraw_) {
        RepaintNow();
        redraw_ = false;
    }
    return w;
}

void CLineWnd::RepaintNow() {
    if (hwnd()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CLineWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd(), &ps);
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    // Drawn off screen and copied in one go: no flicker while scrolling.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, rc.right > 0 ? rc.right : 1, rc.bottom > 0 ? rc.bottom : 1);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = font_ ? SelectObject(dc, font_.get()) : nullptr;
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &rc, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);

    CPramelView::LineGeometry lines = view_.VisibleLineGeometry(fontHeight_ + 2 * descent_);
    lineHeight_ = lines.height;
    auto recordCount = static_cast<std::uint32_t>(records_.size() - 1);
    if (recordCount > lineCount_) recordCount = lineCount_;
    if (gutter::IsAcceptedStyle(style_) && lines.height > 0) {
        HBRUSH band = CreateSolidBrush(kHeadingBand);
        int y = lines.top;
        for (long m = lines.first; m < lines.lines && static_cast<std::uint32_t>(m) < recordCount;
             ++m, y += lines.height) {
            auto line = static_cast<std::uint32_t>(m);
            COLORREF oldColor = 0;
            bool heading = records_[line].heading != 0;
            if (heading) {
                RECT bandRect{0, y, rc.right, y + lines.height};
                FillRect(dc, &bandRect, band);
                oldColor = SetTextColor(dc, kHeadingText);
            }
            std::uint32_t value = 0;
            if (gutter::LineValue(style_, line, baseLine_, records_.data(), recordCount, &value)) {
                std::string text = gutter::FormatValue(style_, digits_, value);
                TextOutA(dc, kTextX, y + descent_, text.c_str(), static_cast<int>(text.size()));
            }
            if (heading) SetTextColor(dc, oldColor);
            if (y > rc.bottom) break;
        }
        DeleteObject(band);
    }
    BitBlt(target, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    if (oldFont) SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(hwnd(), &ps);
}

std::string CLineWnd::VisibleLabels() const {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    CPramelView::LineGeometry lines = view_.VisibleLineGeometry(fontHeight_ + 2 * descent_);
    auto recordCount = static_cast<std::uint32_t>(records_.size() - 1);
    if (recordCount > lineCount_) recordCount = lineCount_;
    std::string text;
    int y = lines.top;
    for (long m = lines.first; m < lines.lines && static_cast<std::uint32_t>(m) < recordCount && lines.height > 0 &&
                               y < rc.bottom;
         ++m, y += lines.height) {
        auto line = static_cast<std::uint32_t>(m);
        if (!text.empty()) text += '\n';
        if (records_[line].heading) text += '#';
        std::uint32_t value = 0;
        if (gutter::LineValue(style_, line, baseLine_, records_.data(), recordCount, &value)) {
            text += gutter::FormatValue(style_, digits_, value);
        }
    }
    return text;
}

void CLineWnd::OnStyleMessage(WPARAM what, LPARAM style) {
    gutter::StyleChange change =
        gutter::ApplyRequest(style_, gutter::StyleRequest{static_cast<int>(what), static_cast<unsigned>(style)});
    if (change.redraw) redraw_ = true;
    style_ = change.style;
    if (change.announce) view_.ShowStatusMessage(gutter::StyleMessage(style_));
}

void CLineWnd::OnLeftButton(int y) {
    HWND control = view_.control();
    if (!control) return;
    // The line at the click's height; where across it does not matter.
    RECT format{};
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    POINTL at{format.left, y};
    LRESULT character = SendMessageA(control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    auto line = static_cast<std::uint32_t>(SendMessageA(control, EM_EXLINEFROMCHAR, 0, character));
    const char* message;
    if (line == baseLine_) {
        if (baseLine_ == 0) return;
        baseLine_ = 0;
        message = texts::kBaseLineCleared;
    } else {
        baseLine_ = line;
        message = texts::kBaseLineSet;
    }
    RepaintNow();
    view_.ShowStatusMessage(message);
}

void CLineWnd::OnRightButton(int x, int y) {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    POINT at{x, y};
    if (!PtInRect(&rc, at)) return;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_GUTTER_MENU));
    if (!menu) return;
    ClientToScreen(hwnd(), &at);
    // The frame is the target: it updates the marks and routes the chosen
    // command to the view like any other.
    HWND frame = view_.FrameWindow();
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, frame ? frame : hwnd(),
                   nullptr);
    DestroyMenu(menu);
}

LRESULT CLineWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painting fills everything
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(VisibleLabels().size());
    case WM_GETTEXT: {
        if (wp == 0 || !lp) return 0;
        std::string text = VisibleLabels();
        return static_cast<LRESULT>(lstrlenA(lstrcpynA(reinterpret_cast<char*>(lp), text.c_str(), static_cast<int>(wp))));
    }
    case kStyleMessage:
        if (wp) OnStyleMessage(wp, lp);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButton(static_cast<short>(HIWORD(lp)));
        return 0;
    case WM_RBUTTONDOWN:
        OnRightButton(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
    default:
        return CWnd::WindowProc(msg, wp, lp);
    }
}
