// The top-level window of one document: menu, the standard and edit
// toolbars (with the find box and the heading field), the information bar,
// the output bar and the status bar with the key, write-protection and
// mode indicators; always on top, full screen, and the bar layout kept in
// "DockingBarState".
#pragma once

#include <string>

#include "frame/CMsgWnd.h"
#include "framework/CDialogBar.h"
#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"
#include "framework/CToolBar.h"
#include "framework/Handles.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    // Message 0x8000 to the output bar: 0 clear, 1 a text (a const
    // std::string*), 2 the end of a load (null) or the result of a template
    // run (the script engine).
    void SendToOutputBar(WPARAM what, LPARAM parameter);
    std::string OutputText() const { return outputBar_.OutputText(); }
    std::string FindBoxText() const;
    // Puts the text first in the find box's list unless it is there, and
    // into the box's edit field.
    void AddFindHistory(const std::string& text);
    void SetHeadingText(const std::string& text);
    // Sets a field of the information bar (file size, caret value) when its
    // text differs.
    void SetInfoField(int id, const std::string& text);
    HWND InfoBar() const { return infoBar_.hwnd(); }

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    bool PreTranslateMessage(MSG& msg) override;

protected:
    bool OnCreate() override;
    void OnClose() override;
    void OnActivate(bool active, bool minimized) override;
    void OnFrameClosing() override;
    const char* WindowClassName() const override { return "PramelMainFrame"; }

private:
    bool CreateToolBars();
    bool CreateFindBox();
    bool CreateHeadingField();
    void CreateControlFont();
    void ToggleFullScreen();
    void ToggleAlwaysOnTop();
    CControlBar* BarForCommand(UINT id);
    bool InFindBox(HWND window) const;
    bool InFindHistory(const std::string& value) const;

    bool created_ = false;
    bool alwaysOnTop_ = false;
    bool fullScreen_ = false;
    int savedShowState_ = -1;
    bool savedBars_[4] = {true, true, true, true};
    HWND findBox_ = nullptr;
    UniqueFont controlFont_;
    HWND headingField_ = nullptr;
    CStatusBar statusBar_;
    CToolBar standardBar_;
    CToolBar editBar_;
    CMsgWnd outputBar_;
    CDialogBar infoBar_;
};
