// A view that shows its document in a rich-edit control ("RichEdit20A",
// plain-text mode, no word wrap). The view is a container window that owns
// the control as its child, so that the document can be emptied by giving
// the view a fresh control: deleting a long text from a rich-edit control is
// far slower than destroying and re-creating it.
//
// The view is the text surface of the conversion chains: it streams its
// whole text out and a new text in. No C++ exception crosses the control's
// stream callbacks; one raised inside is carried out and raised again after
// the control has returned. A new text is made whole first and handed to
// the control in one piece (see StreamIn).
//
// It also provides the standard edit commands, Find and Replace, and
// printing.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <string>

#include "framework/CView.h"
#include "framework/Handles.h"
#include "pipeline/Ports.h"

class CRichEditView : public CView, public ITextSurface {
public:
    CRichEditView();
    ~CRichEditView() override;

    bool Create(CFrameWnd* frame, UINT id) override;
    HWND control() const { return control_.get(); }

    // Replaces the control with a new, empty one set up like the old.
    void ResetControl();

    // ITextSurface
    bool HasText() override;
    void StreamOut(ChunkReader& reader) override;
    // Replaces the text with the filler's. The text is made whole first and
    // set with WM_SETTEXT, so that every paragraph keeps the paragraph
    // format of the empty control; a text with a NUL byte, or one that
    // starts like rich text, goes through the control's stream-in instead
    // (WM_SETTEXT would cut it or read it as RTF) and is given that format
    // afterwards.
    void StreamIn(BufferFiller& filler) override;

    // Searches the control from the selection; selects a match.
    bool FindText(const std::string& what, bool matchCase, bool wholeWord, bool down);
    void SetPrintMargins(const RECT& twips) { printMargins_ = twips; }

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // A new control exists (at creation and after ResetControl): apply the
    // view's settings to it.
    virtual void OnControlCreated() {}
    // A stream-in has made the whole new text and is about to hand it to
    // the control, which is still empty: what depends on the text alone
    // can be set up now, before the control holds a long text.
    virtual void OnTextMade(const std::string& text) { (void)text; }
    // A stream-in replaced the whole text. Every new paragraph has the
    // paragraph format that the empty control had.
    virtual void OnTextReplaced() {}
    // The view's size changed, or its insets must be recomputed.
    virtual void OnLayout();
    // Notifications of the control.
    virtual void OnTextChanged() {}
    virtual void OnSelectionChanged() {}
    virtual void OnVerticalScroll() {}
    virtual void OnDropFiles(HDROP drop);
    // The Find dialog is about to search for what.
    virtual void OnFindDialogSearch(const std::string& what, bool matchCase, bool wholeWord) {
        (void)what;
        (void)matchCase;
        (void)wholeWord;
    }
    virtual const char* WindowClassName() const { return "PramelRichEditView"; }

private:
    bool CreateControl();
    void ShowFindDialog(bool replace);
    void OnFindReplaceMessage(FINDREPLACEA* request);
    void ReplaceAll(const std::string& what, const std::string& with, bool matchCase, bool wholeWord);
    void RepeatFind();
    void Print();
    void PrintSetup();

    UniqueWindow control_;
    HWND findDialog_ = nullptr;
    FINDREPLACEA findRequest_{};
    char findWhat_[256] = {};
    char replaceWith_[256] = {};
    std::string lastFind_;
    bool lastMatchCase_ = false;
    bool lastWholeWord_ = false;
    bool lastDown_ = true;
    RECT printMargins_{1440, 1440, 1440, 1440};
};
