// A top-level frame around one document's view: menu, accelerators, bars
// (a dock site on each side, floating bar windows and a status bar), command
// routing and the idle-time update of the bars' command states.
//
// Commands are routed view -> document -> frame -> application; the first
// target that knows the id handles it. A command that no target knows, or
// whose target disables it, does not run and its menu item and button are
// shown disabled.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CCmdUI.h"
#include "framework/CDocTemplate.h"
#include "framework/CDockSite.h"
#include "framework/CFloatingBar.h"
#include "framework/CWnd.h"

class CControlBar;
class CDocument;
class CStatusBar;
class CView;

class CFrameWnd : public CWnd, public CCmdTarget {
public:
    // WM_COPYDATA tag of a dropped-files block sent by another process; the
    // frame opens the files as if they had been dropped on it.
    static constexpr ULONG_PTR kDroppedFilesData = 0x46445250;  // "PRDF"
    // What one hand-over may carry: at most this many names, each at most
    // the longest path the system knows (in bytes, without its zero).
    static constexpr std::size_t kMaxHandedFiles = 256;
    static constexpr std::size_t kMaxHandedName = 32767;
    // The names of a dropped-files block that another process handed over,
    // when it is well formed: the 20-byte header with the names right after
    // it in the ANSI code page, each name non-empty, free of control
    // characters, ending with a zero and no double-byte character cut,
    // within the limits above; the list ends with an empty name and only
    // zero bytes follow. False (names untouched) for anything else.
    static bool ReadHandedFiles(const void* data, std::size_t size, std::vector<std::string>* names);

    CFrameWnd();
    ~CFrameWnd() override;

    // The file names of a dropped-files handle, each whole.
    static std::vector<std::string> DroppedFilePaths(HDROP drop);

    // Creates the window with the menu, accelerators and icon of the
    // resource id, then the view for the document.
    bool LoadFrame(UINT resourceId, CDocument* document, const CDocTemplate::ViewFactory& makeView);
    // Runs the view's initial update and shows the frame.
    void InitialUpdateFrame(bool makeVisible);

    CView* GetActiveView() const { return view_.get(); }
    CDocument* GetActiveDocument() const { return document_; }
    void SetDocument(CDocument* document) { document_ = document; }

    // Command routing.
    bool RouteCommand(UINT id);
    void RouteCommandUpdate(CCmdUI& ui);
    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

    // Accelerators and keys the frame takes before the focus window.
    virtual bool PreTranslateMessage(MSG& msg);
    // Idle time: bring toolbar buttons and status panes up to date.
    virtual void OnIdleUpdateCmdUI();
    // The caption: "document title - application title".
    virtual void OnUpdateFrameTitle();

    // Bars.
    void ShowControlBar(CControlBar& bar, bool show);
    bool IsBarVisible(const CControlBar& bar) const;
    CControlBar* FindBar(UINT barId) const;
    // Docks the bar on a side it allows (at the position, -1: last, in a
    // row of its own unless newRow is false), or lets it float with its
    // window's top-left corner at a screen point. Visibility is kept.
    bool DockControlBar(CControlBar& bar, DockSide side, int position = -1, bool newRow = true);
    bool FloatControlBar(CControlBar& bar, POINT topLeft);
    // Where a bar is: the side it is docked on, or nullptr when floating
    // (or not dockable).
    const CDockSite* SiteOf(const CControlBar& bar) const;
    // A floating bar's window was moved, or its caption double-clicked:
    // dock it when it was let go near an edge it may dock on, or where it
    // was docked last. The docking happens after the window's message.
    void OnFloatingBarMoved(CControlBar& bar);
    void DockBarWhereItWas(CControlBar& bar);
    void RecalcLayout();
    void SetMessageText(const std::string& text);
    void SetIdleMessage();
    // The bars' layout under the section "<section>" of the settings store:
    // for every bar its visibility, and for a dockable bar its side (or that
    // it floats), its place on the side and its floating position.
    void SaveBarState(const std::string& section) const;
    void LoadBarState(const std::string& section);
    // Closes the window for good (the document has agreed): the frame saves
    // what it keeps, then destroys itself.
    void DestroyFrameWindow();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;

    // Window creation: derived frames create their bars here.
    virtual bool OnCreate();
    virtual void OnClose();
    virtual void OnActivate(bool active, bool minimized);
    virtual void OnDropFiles(HDROP drop);
    virtual LRESULT OnNotify(NMHDR* header);
    // The window is about to be destroyed after its document let it close.
    virtual void OnFrameClosing() {}
    virtual const char* WindowClassName() const { return "PramelFrameWnd"; }

    // Bar bookkeeping for derived frames.
    CDockSite& Dock(DockSide side) { return docks_[static_cast<int>(side)]; }
    void AddBar(CControlBar* bar) { bars_.push_back(bar); }
    void SetStatusBar(CStatusBar* bar) { statusBar_ = bar; }
    CStatusBar* GetStatusBar() const { return statusBar_; }

    // Close steps: ask the document, hand the main-window role on, close.
    bool QueryCloseDocument();
    void DestroyFrame();

    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;

private:
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    bool OnCopyData(const COPYDATASTRUCT* data);
    void ShowPrompt(UINT id);
    // Takes a bar out of its dock site or floating window; true when it was
    // shown there.
    bool DetachBar(CControlBar& bar);
    void OnBarDragged(CControlBar& bar, POINT screen);
    // The side whose edge of the frame's inner area is near the point and
    // that the bar may dock on; false when there is none.
    bool DockSideNear(const CControlBar& bar, POINT screen, DockSide* side) const;
    void ApplyDockRequest(UINT barId, WPARAM side);
    // Docks a detached bar on the side, or on the first side it allows when
    // that fails, shown or hidden.
    bool DockDetached(CControlBar& bar, DockSide side, int position, bool newRow, bool visible);
    void LayoutDocks(RECT& rc);

    std::unique_ptr<CView> view_;
    bool ownsSelf_ = false;
    CDocument* document_ = nullptr;
    CDockSite docks_[kDockSides];
    std::map<UINT, std::unique_ptr<CFloatingBar>> floating_;
    std::map<UINT, DockSide> lastSide_;
    CControlBar* draggedBar_ = nullptr;
    CStatusBar* statusBar_ = nullptr;
    std::vector<CControlBar*> bars_;
    std::string tooltip_;
    std::wstring tooltipWide_;
};
