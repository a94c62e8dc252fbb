// The state of one command's user-interface element while it is updated:
// a menu item, a toolbar button or a status-bar pane. Command targets set
// what applies (enable, check, radio mark, text); the element changes only
// where its state differs, so idle-time updates cost nothing when nothing
// changed.
#pragma once

#include <windows.h>

#include <string>

class CCmdUI {
public:
    enum class Kind { MenuItem, ToolButton, StatusPane, Probe };

    static CCmdUI ForMenuItem(HMENU menu, UINT position, UINT id);
    static CCmdUI ForToolButton(HWND toolbar, UINT id);
    // An indicator pane shows its indicator text while enabled.
    static CCmdUI ForStatusPane(HWND statusBar, int pane, UINT id, const std::string& indicatorText);

    // An element of no window: asks whether the command may run now.
    static CCmdUI ForProbe(UINT id);

    UINT id() const { return id_; }
    bool enabled() const { return enabled_; }
    Kind kind() const { return kind_; }

    void Enable(bool on = true);
    void SetCheck(bool on = true);
    // A menu item shows a radio mark instead of a check mark.
    void SetRadio(bool on = true);
    // A menu item's text or a status pane's text.
    void SetText(const std::string& text);

    // True once a command target has claimed the element.
    bool handled = false;

private:
    CCmdUI(Kind kind, UINT id) : kind_(kind), id_(id) {}

    Kind kind_;
    UINT id_;
    HMENU menu_ = nullptr;
    UINT position_ = 0;
    HWND window_ = nullptr;
    int pane_ = 0;
    std::string indicatorText_;
    bool enabled_ = true;
};

// An object that takes commands. OnCmdMsg handles the command id when ui is
// null and updates the element's state when it is not; it returns true when
// it knows the id. Implementations are one switch over the ids they handle
// and hand everything else to their base class.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual bool OnCmdMsg(UINT id, CCmdUI* ui) {
        (void)id;
        (void)ui;
        return false;
    }
};
