// The editor's view: the rich-edit view with the editor's font ("ＭＳ
// ゴシック" in five sizes), tab widths, text insets, the debounced refresh
// timer, the binary-mode layout settings (bytes per line, separator), the
// data commands it forwards to the document, and the find-box searches.
// All settings live in the registry section "PramelView".
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "framework/CRichEditView.h"

class CPramelDoc;

class CPramelView : public CRichEditView {
public:
    static constexpr UINT kRefreshTimer = 1024;
    static constexpr UINT kShowErrorMessage = WM_USER + 0x100;  // 0x0500
    static constexpr unsigned kMinRefreshDelay = 200;
    static constexpr unsigned kMaxRefreshDelay = 3000;

    CPramelView();

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
    void OnTextReplaced() override;
    void OnTextChanged() override;
    void OnFindDialogSearch(const std::string& what, bool matchCase, bool wholeWord) override;

private:
    void ApplyFontSize(int command);
    void ApplyTabWidth(int command);
    void SetTabStops();
    LONG MeasureCharWidthTwips() const;
    void ApplyCharacterFormat();
    void RunRefresh();
    void FindFromBox(bool down);
    void RunViewSettings();
    void ShowPostedMessage(WPARAM serial, LPARAM cookie);

    struct PostedMessage {
        WPARAM serial;
        std::string text;
        std::string caption;
    };
    std::deque<PostedMessage> posted_;
    WPARAM nextSerial_ = 1;
};
