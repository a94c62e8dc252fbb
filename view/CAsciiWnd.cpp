#include "view/CAsciiWnd.h"

#include <richedit.h>

#include <string>
#include <vector>

#include "view/CPramelView.h"
#include "view/core/PaneCells.h"

namespace {

const char kClassName[] = "PramelAsciiWnd";
const COLORREF kBackground = RGB(240, 240, 240);

}  // namespace

CAsciiWnd::CAsciiWnd(CPramelView& view) : view_(view) {
    for (int i = 0; i < kCacheLines; ++i) {
        cache_[i].fill(' ');
        cache_[i][pane::kCells] = '\0';
        tags_[i] = i + 1;  // no line n lives in entry n - 1
    }
}

bool CAsciiWnd::Create(HWND parent) {
    if (!RegisterClassOnce(kClassName, 0, nullptr, nullptr)) return false;
    if (!CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr)) return false;
    RebuildFont();
    return true;
}

int CAsciiWnd::width() const { return visible_ ? digitWidth_ * pane::kCells + 10 : 0; }

void CAsciiWnd::RebuildFont() {
    font_.reset(view_.CreatePaneFont(&digitWidth_, &descent_, &fontHeight_));
    redraw_ = true;
}

int CAsciiWnd::Layout(const RECT& area) {
    int w = width();
    if (visible_) {
        SetWindowPos(hwnd(), HWND_TOP, area.right - w, area.top, w, area.bottom - area.top,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        SetWindowPos(hwnd(), HWND_TOP, area.right, area.top, 0, area.bottom - area.top,
                     SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    if (redraw_) {
        RepaintNow();
        redraw_ = false;
    }
    return w;
}

void CAsciiWnd::Toggle() {
    visible_ = !visible_;
    redraw_ = true;
}

void CAsciiWnd::Invalidate() { tags_.fill(-1); }

void CAsciiWnd::RepaintNow() {
    if (hwnd() && visible_) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

const char* CAsciiWnd::Cells(long line) const {
    int entry = static_cast<int>(line % kCacheLines);
    return tags_[entry] == line ? cache_[entry].data() : nullptr;
}

void CAsciiWnd::FillCache(long first, long last) {
    long from = -1;
    long to = -1;
    for (long n = first; n <= last; ++n) {
        if (Cells(n)) continue;
        if (from < 0) from = n;
        to = n;
    }
    if (from < 0) return;
    // A line later in the range that maps to the same entry as an earlier
    // one wins; with at most a screenful of lines that never happens.
    std::vector<std::string> lines = pane::SplitLines(view_.LinesText(from, to));
    for (long n = from; n <= to; ++n) {
        if (Cells(n)) continue;
        int entry = static_cast<int>(n % kCacheLines);
        tags_[entry] = static_cast<std::int32_t>(n);
        std::size_t index = static_cast<std::size_t>(n - from);
        std::string text = index < lines.size() ? lines[index] : std::string();
        std::string cells = text.empty() ? std::string(pane::kCells, ' ') : pane::FillCells(pane::LineBytes(text));
        std::copy(cells.begin(), cells.end(), cache_[entry].begin());
        cache_[entry][pane::kCells] = '\0';
        ++conversions_;
    }
}

std::string CAsciiWnd::VisibleCells() {
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    CPramelView::LineGeometry lines = view_.VisibleLineGeometry(fontHeight_ + 2 * descent_);
    std::string text;
    if (!visible_ || lines.height <= 0) return text;
    long last = lines.first - 1;
    for (int y = lines.top; last + 1 < lines.lines && y < rc.bottom && last + 1 - lines.first < kCacheLines;
         y += lines.height) {
        ++last;
    }
    FillCache(lines.first, last);
    for (long n = lines.first; n <= last; ++n) {
        if (n > lines.first) text += '\n';
        if (const char* cells = Cells(n)) text += cells;
    }
    return text;
}

void CAsciiWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd(), &ps);
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, rc.right > 0 ? rc.right : 1, rc.bottom > 0 ? rc.bottom : 1);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = font_ ? SelectObject(dc, font_.get()) : nullptr;
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &rc, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);

    CPramelView::LineGeometry lines = view_.VisibleLineGeometry(fontHeight_ + 2 * descent_);
    if (lines.height > 0 && lines.lines > lines.first) {
        long last = lines.first;
        for (int y = lines.top; last + 1 < lines.lines && y <= rc.bottom; y += lines.height) ++last;
        if (last - lines.first + 1 > kCacheLines) last = lines.first + kCacheLines - 1;
        FillCache(lines.first, last);
        int y = lines.top;
        for (long n = lines.first; n <= last; ++n, y += lines.height) {
            const char* cells = Cells(n);
            if (cells) TextOutA(dc, textInset_, y + descent_, cells, pane::kCells);
            if (y > rc.bottom) break;
        }
    }
    BitBlt(target, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    if (oldFont) SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(hwnd(), &ps);
}

LRESULT CAsciiWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(VisibleCells().size());
    case WM_GETTEXT: {
        if (wp == 0 || !lp) return 0;
        std::string text = VisibleCells();
        return static_cast<LRESULT>(lstrlenA(lstrcpynA(reinterpret_cast<char*>(lp), text.c_str(), static_cast<int>(wp))));
    }
    default:
        return CWnd::WindowProc(msg, wp, lp);
    }
}
