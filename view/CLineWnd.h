// The offset gutter: a strip on the left of the view's text that prints,
// beside every visible line, its line number or the offset in bytes, words
// or double words of the first byte the line stands for, in hexadecimal or
// decimal, optionally relative to a base line picked by a click. Heading
// lines are drawn on a dark band.
//
// The gutter keeps one record per text line (offset, heading flag, leading
// tabs), rebuilt from the whole text by the packing and byte-per-line
// stages at each of the view's refreshes. Painting uses only these records
// and the control's first visible line, so scrolling stays cheap on long
// texts. The gutter is a child of the view's container, not of the
// rich-edit control, so that it survives the control being re-created on
// every load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/CWnd.h"
#include "framework/Handles.h"
#include "pipeline/CCalcBytePerLine.h"

class CPramelView;

class CLineWnd : public CWnd {
public:
    // Message from the view: wParam 1 sets the style in lParam; any other
    // non-zero wParam turns the gutter off.
    static constexpr UINT kStyleMessage = WM_APP;
    static constexpr UINT kDefaultStyle = 2;

    explicit CLineWnd(CPramelView& view);

    bool Create(HWND parent);
    // Rebuilds the records from the whole text; true when the line
    // structure changed. Publishes the byte count in the information bar.
    bool Recompute();
    // The same from a text held in memory (a text about to be loaded),
    // with records for as many lines as it has.
    bool RecomputeFrom(const std::string& text);
    // Takes the font from the view's default character format.
    void RebuildFont();
    // Places the gutter on the left of `area` (the text's client area in the
    // parent's coordinates); its width.
    int Layout(const RECT& area);
    void RepaintNow();

    unsigned style() const { return style_; }
    std::uint32_t lineCount() const { return lineCount_; }
    std::uint32_t baseLine() const { return baseLine_; }
    std::uint32_t totalBytes() const { return totalBytes_; }
    int width() const;
    // The records of lines 0..lineCount()-1; valid from the first
    // recompute and describing the text as it was then.
    const LineRecord* records() const { return records_.data(); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // What the gutter prints beside the visible lines, one line each, a
    // heading line marked with "#" (its window text, so that tools that
    // read windows can read it).
    std::string VisibleLabels() const;
    void OnPaint();
    // Runs the line-record chain from the source over lines text lines.
    bool RunRecords(CStream& source, std::uint32_t lines);
    void OnStyleMessage(WPARAM what, LPARAM style);
    void OnLeftButton(int y);
    void OnRightButton(int x, int y);

    CPramelView& view_;
    unsigned style_ = kDefaultStyle;
    bool redraw_ = false;
    int lineHeight_ = 0;
    bool changed_ = false;
    UniqueFont font_;
    int digitWidth_ = 8;
    int descent_ = 0;
    int fontHeight_ = 16;
    int digits_ = 4;
    CCalcBytePerLine lineStage_;
    std::vector<LineRecord> records_;
    std::uint32_t lineCount_ = 256;
    std::uint32_t baseLine_ = 0;
    std::uint32_t totalBytes_ = 0;
};
