#include "framework/CCmdUI.h"

#include <commctrl.h>

#include <vector>

#include "framework/Strings.h"

CCmdUI CCmdUI::ForMenuItem(HMENU menu, UINT position, UINT id) {
    CCmdUI ui(Kind::MenuItem, id);
    ui.menu_ = menu;
    ui.position_ = position;
    return ui;
}

CCmdUI CCmdUI::ForToolButton(HWND toolbar, UINT id) {
    CCmdUI ui(Kind::ToolButton, id);
    ui.window_ = toolbar;
    return ui;
}

CCmdUI CCmdUI::ForStatusPane(HWND statusBar, int pane, UINT id, const std::string& indicatorText) {
    CCmdUI ui(Kind::StatusPane, id);
    ui.window_ = statusBar;
    ui.pane_ = pane;
    ui.indicatorText_ = indicatorText;
    return ui;
}

CCmdUI CCmdUI::ForProbe(UINT id) { return CCmdUI(Kind::Probe, id); }

void CCmdUI::Enable(bool on) {
    handled = true;
    enabled_ = on;
    switch (kind_) {
    case Kind::MenuItem:
        EnableMenuItem(menu_, position_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
        break;
    case Kind::ToolButton: {
        LRESULT state = SendMessageA(window_, TB_GETSTATE, id_, 0);
        if (state == -1) break;
        bool now = (state & TBSTATE_ENABLED) != 0;
        if (now != on) SendMessageA(window_, TB_ENABLEBUTTON, id_, MAKELPARAM(on ? TRUE : FALSE, 0));
        break;
    }
    case Kind::StatusPane:
        SetText(on ? indicatorText_ : std::string());
        break;
    case Kind::Probe:
        break;
    }
}

void CCmdUI::SetCheck(bool on) {
    handled = true;
    switch (kind_) {
    case Kind::MenuItem: {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoA(menu_, position_, TRUE, &info);
        info.fType &= ~MFT_RADIOCHECK;
        info.fState = (info.fState & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
        SetMenuItemInfoA(menu_, position_, TRUE, &info);
        break;
    }
    case Kind::ToolButton: {
        LRESULT state = SendMessageA(window_, TB_GETSTATE, id_, 0);
        if (state == -1) break;
        bool now = (state & TBSTATE_CHECKED) != 0;
        if (now != on) SendMessageA(window_, TB_CHECKBUTTON, id_, MAKELPARAM(on ? TRUE : FALSE, 0));
        break;
    }
    case Kind::StatusPane:
    case Kind::Probe:
        break;
    }
}

void CCmdUI::SetRadio(bool on) {
    if (kind_ != Kind::MenuItem) {
        SetCheck(on);
        return;
    }
    handled = true;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoA(menu_, position_, TRUE, &info);
    info.fType |= MFT_RADIOCHECK;
    info.fState = (info.fState & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
    SetMenuItemInfoA(menu_, position_, TRUE, &info);
}

void CCmdUI::SetText(const std::string& value) {
    handled = true;
    switch (kind_) {
    case Kind::MenuItem: {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<char*>(value.c_str());
        SetMenuItemInfoA(menu_, position_, TRUE, &info);
        break;
    }
    case Kind::ToolButton:
    case Kind::Probe:
        break;
    case Kind::StatusPane: {
        const std::string& shown = value;
        if (shown != text::StatusPaneText(window_, static_cast<int>(pane_))) {
            SendMessageA(window_, SB_SETTEXTA, pane_, reinterpret_cast<LPARAM>(shown.c_str()));
        }
        break;
    }
    }
}
