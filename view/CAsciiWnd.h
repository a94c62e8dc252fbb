// The character pane: a strip on the right of the view's text that shows,
// beside every visible line, the bytes the line stands for as 16 character
// cells (printable ASCII, double-byte characters of code page 932, spaces
// for the rest). Lines are converted on demand and kept in a small
// direct-mapped cache that the view empties at each refresh, so scrolling
// repaints from the cache. Like the gutter it is a child of the view's
// container and survives the control being re-created.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "framework/CWnd.h"
#include "framework/Handles.h"

class CPramelView;

class CAsciiWnd : public CWnd {
public:
    static constexpr int kCacheLines = 50;

    explicit CAsciiWnd(CPramelView& view);

    bool Create(HWND parent);
    void RebuildFont();
    // Places the pane on the right of `area`; its width (0 when hidden).
    int Layout(const RECT& area);
    void Toggle();
    // Forgets every converted line.
    void Invalidate();
    void RepaintNow();

    bool visible() const { return visible_; }
    int width() const;
    // Lines converted since the pane was created (for measurements).
    unsigned long conversions() const { return conversions_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The cells of the visible lines, one line each (the pane's window
    // text, so that tools that read windows can read it).
    std::string VisibleCells();
    void OnPaint();
    // Converts the visible lines that the cache does not hold, reading
    // their text from the control in one piece.
    void FillCache(long first, long last);
    const char* Cells(long line) const;

    CPramelView& view_;
    int textInset_ = 5;
    UniqueFont font_;
    int digitWidth_ = 8;
    int descent_ = 0;
    int fontHeight_ = 16;
    bool redraw_ = false;
    std::array<std::array<char, 17>, kCacheLines> cache_{};
    std::array<std::int32_t, kCacheLines> tags_{};
    bool visible_ = true;
    unsigned long conversions_ = 0;
};
