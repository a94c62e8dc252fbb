// The editor's view: the rich-edit view with the editor's font ("ＭＳ
// ゴシック" in five sizes), tab widths, the offset gutter on the left and
// the character pane on the right of the text (the text area is inset so
// that neither covers text), the debounced refresh that recomputes them and
// the live displays (heading field, caret value, byte count), the text
// commands (comment out and in, heading navigation, find up and down), the
// binary-mode layout settings (bytes per line, separator) and the data
// commands it forwards to the document. All settings live in the registry
// section "PramelView".
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "framework/CRichEditView.h"

class CAsciiWnd;
class CLineWnd;
class CPramelDoc;

class CPramelView : public CRichEditView {
public:
    static constexpr UINT kRefreshTimer = 1024;
    static constexpr UINT kShowErrorMessage = WM_USER + 0x100;  // 0x0500
    static constexpr unsigned kMinRefreshDelay = 200;
    static constexpr unsigned kMaxRefreshDelay = 3000;

    CPramelView();
    ~CPramelView() override;

    void OnInitialUpdate() override;
    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    CPramelDoc* GetPramelDoc() const;

    // Shows a message box once the current command has ended (message
    // 0x0500 to this view). Only messages queued here are ever shown: a
    // 0x0500 this view did not post itself is ignored.
    void PostErrorMessage(const std::string& text, const std::string& caption);

    int FirstVisibleLine() const;
    // Scrolls so that the line is the first visible one, caret at its start.
    void ShowLineAtTop(int line);

    // The character height a font-size command stands for, in twips (0 for
    // an unknown command).
    static int FontHeightFor(int command);
    // The tab width in characters a tab command stands for.
    static int TabWidthFor(int command);
    // The delay for the next refresh after one that took elapsed ms.
    static unsigned NextRefreshDelay(unsigned elapsed);

    // Where the visible lines are: the first visible line, the line count,
    // the first visible line's top in the text area's client coordinates
    // and the distance between lines (fallback when there is one line).
    struct LineGeometry {
        long first;
        long lines;
        int top;
        int height;
    };
    LineGeometry VisibleLineGeometry(int fallbackHeight) const;
    // The text of lines first..last without their line breaks, CR between
    // them, read from the control in one piece.
    std::string LinesText(long first, long last) const;
    // A font made from the control's default character format for the
    // gutter and the character pane, with the width of "0", the descent and
    // the height it has.
    HFONT CreatePaneFont(int* digitWidth, int* descent, int* height) const;
    int ReadSetting(const char* name, int fallback) const;
    void ShowStatusMessage(const std::string& text);
    void SetFileSizeField(const std::string& text);
    HWND FrameWindow() const;
    CLineWnd* gutter() const { return gutter_.get(); }
    CAsciiWnd* characterPane() const { return pane_.get(); }
    // Runs a refresh now when one is pending (the refresh timer's work).
    void RunRefresh();
    // Milliseconds the last refresh took.
    unsigned lastRefreshMs() const { return lastRefreshMs_; }

    int refreshPending = 1;
    unsigned refreshDelay = kMinRefreshDelay;
    int fontSizeCommand = 0;
    int tabCommand = 0;
    int findMatchCase = 0;
    int findWholeWord = 0;
    int bytesPerLine = 16;
    int separatorCode = 0;
    // The control's width of one half-width character of its font, in
    // twips: the unit of the tab stops.
    LONG charWidthTwips = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnControlCreated() override;
    void OnLayout() override;
    void OnTextMade(const std::string& text) override;
    void OnTextReplaced() override;
    void OnTextChanged() override;
    void OnFindDialogSearch(const std::string& what, bool matchCase, bool wholeWord) override;
    void OnSelectionChanged() override;
    void OnVerticalScroll() override;

private:
    void ApplyFontSize(int command);
    void ApplyTabWidth(int command);
    void SetTabStops();
    LONG MeasureCharWidthTwips() const;
    void ApplyCharacterFormat();
    void UpdateLiveDisplays();
    void UpdateHeadingField(const CHARRANGE& selection);
    void UpdateCaretValue(const CHARRANGE& selection);
    void RepaintPanes();
    long ScrollTop() const;
    void ApplyGutterStyle(UINT command);
    void ToggleCharacterPane();
    void CommentLines(bool out);
    void MoveToHeading(bool up);
    std::string TextRange(long start, long end) const;
    long LineOf(long character) const;
    long LineStart(long line) const;
    void FindFromBox(bool down);
    void RunViewSettings();
    void ShowPostedMessage(WPARAM serial, LPARAM cookie);

    struct PostedMessage {
        WPARAM serial;
        std::string text;
        std::string caption;
    };
    std::unique_ptr<CLineWnd> gutter_;
    std::unique_ptr<CAsciiWnd> pane_;
    long paintedScroll_ = -1;
    // The gutter's records were made from the text being loaded.
    bool recordsFromLoad_ = false;
    // The formatting rectangle last given to the control, and which control.
    HWND formatControl_ = nullptr;
    RECT formatRect_{};
    // The heading line whose text the heading field shows, and that text.
    static constexpr long kNoHeadingRead = -2;
    long headingLine_ = kNoHeadingRead;
    std::string headingText_;
    unsigned lastRefreshMs_ = 0;
    std::deque<PostedMessage> posted_;
    WPARAM nextSerial_ = 1;
};
