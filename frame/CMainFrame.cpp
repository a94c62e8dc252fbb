#include "frame/CMainFrame.h"

#include <commctrl.h>

#include <vector>

#include "document/CPramelDoc.h"
#include "frame/FrameTexts.h"
#include "framework/CWinApp.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"
#include "resources/pramel/resource.h"

namespace {

const std::vector<UINT> kStandardButtons = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FIND_BOX_FIND, 0 /* find box */, ID_FIND_DOWN, ID_FIND_UP, 0,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_FILE_PRINT, ID_APP_ABOUT, ID_CONTEXT_HELP};
constexpr int kFindBoxIndex = 5;
constexpr int kFindBoxWidth = 120;

const std::vector<UINT> kEditButtons = {
    ID_OFFSET_BYTE, ID_OFFSET_WORD, ID_OFFSET_DWORD, ID_OFFSET_LINE, 0, ID_RADIX_HEX, ID_RADIX_DEC, 0,
    ID_ASCII_PANE, 0, ID_COMMENT_OUT, ID_COMMENT_CLEAR, 0, ID_HEADING_UP, ID_HEADING_DOWN, 0, ID_HEADING_FIELD};
constexpr int kHeadingFieldWidth = 300;

}  // namespace

CMainFrame::CMainFrame() : infoBar_(IDD_INFOBAR) {}

bool CMainFrame::OnCreate() {
    if (!CFrameWnd::OnCreate()) return false;

    std::vector<CStatusBar::Indicator> indicators = {
        {ID_INDICATOR_CAPS, text::Load(ID_INDICATOR_CAPS), ""},
        {ID_INDICATOR_NUM, text::Load(ID_INDICATOR_NUM), ""},
        {ID_INDICATOR_SCRL, text::Load(ID_INDICATOR_SCRL), ""},
        {ID_INDICATOR_WRITE, text::Load(ID_INDICATOR_WRITE), ""},
        {ID_INDICATOR_MODE, "", text::Load(ID_INDICATOR_MODE)},
    };
    if (!statusBar_.Create(hwnd(), ids::kStatusBar, indicators)) return false;
    SetStatusBar(&statusBar_);
    AddBar(&statusBar_);

    if (!CreateToolBars()) return false;

    if (!infoBar_.Create(hwnd(), ID_INFO_BAR)) return false;
    SetWindowTextA(infoBar_.hwnd(), texts::kInfoBarTitle);
    if (!outputBar_.Create(hwnd(), ID_OUTPUT_BAR)) return false;

    // The toolbars dock on any side, the information bar at the top or the
    // bottom, the output bar only at the bottom; each may also float.
    SetWindowTextA(standardBar_.hwnd(), texts::kStandardBarTitle);
    SetWindowTextA(editBar_.hwnd(), texts::kEditBarTitle);
    standardBar_.SetDockSides(kDockAny);
    editBar_.SetDockSides(kDockAny);
    infoBar_.SetDockSides(DockBit(DockSide::Top) | DockBit(DockSide::Bottom));
    outputBar_.SetDockSides(DockBit(DockSide::Bottom));
    if (!Dock(DockSide::Top).AddBar(standardBar_) || !Dock(DockSide::Top).AddBar(editBar_) ||
        !Dock(DockSide::Top).AddBar(infoBar_) || !Dock(DockSide::Bottom).AddBar(outputBar_)) {
        return false;
    }
    AddBar(&standardBar_);
    AddBar(&editBar_);
    AddBar(&infoBar_);
    AddBar(&outputBar_);

    if (!CreateFindBox() || !CreateHeadingField()) return false;
    CreateControlFont();
    SetIdleMessage();
    LoadBarState(texts::kBarStateSection);
    created_ = true;
    return true;
}

bool CMainFrame::CreateToolBars() {
    if (!standardBar_.Create(hwnd(), ids::kStandardToolBar, IDR_MAINFRAME, kStandardButtons)) return false;
    if (!editBar_.Create(hwnd(), ID_VIEW_EDITBAR_BAR, IDR_EDITBAR, kEditButtons)) return false;
    return true;
}

bool CMainFrame::CreateFindBox() {
    RECT rc = standardBar_.ReplaceWithSeparator(kFindBoxIndex, IDC_FIND_BOX, kFindBoxWidth);
    findBox_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                                                      CBS_AUTOHSCROLL,
                               rc.left, rc.top + 2, kFindBoxWidth, 100, standardBar_.hwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_FIND_BOX)), GetModuleHandleA(nullptr),
                               nullptr);
    return findBox_ != nullptr;
}

bool CMainFrame::CreateHeadingField() {
    int last = editBar_.ButtonCount() - 1;
    RECT rc = editBar_.ReplaceWithSeparator(last, ID_HEADING_FIELD, kHeadingFieldWidth);
    headingField_ = CreateWindowExA(WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE,
                                    rc.left + 4, rc.top + 2, kHeadingFieldWidth - 8, rc.bottom - rc.top - 4,
                                    editBar_.hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_HEADING_FIELD)),
                                    GetModuleHandleA(nullptr), nullptr);
    return headingField_ != nullptr;
}

void CMainFrame::CreateControlFont() {
    LOGFONTA logFont{};
    logFont.lfHeight = -12;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(logFont.lfFaceName, texts::kControlFontFace, LF_FACESIZE);
    controlFont_.reset(CreateFontIndirectA(&logFont));
    if (!controlFont_) return;  // the controls keep the default font
    SendMessageA(findBox_, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_.get()), TRUE);
    SendMessageA(headingField_, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_.get()), TRUE);
}

void CMainFrame::SendToOutputBar(WPARAM what, LPARAM parameter) {
    if (!outputBar_.hwnd()) return;
    outputBar_.Expect(parameter);
    SendMessageA(outputBar_.hwnd(), CMsgWnd::kMessage, what, parameter);
}

std::string CMainFrame::FindBoxText() const { return findBox_ ? text::WindowText(findBox_) : std::string(); }

bool CMainFrame::InFindHistory(const std::string& value) const {
    // Exactly equal only: the list's own search (CB_FINDSTRINGEXACT) ignores
    // case, and "AB" searched with match case is not "ab".
    LRESULT count = SendMessageA(findBox_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(findBox_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::vector<char> item(static_cast<std::size_t>(length) + 1);
        SendMessageA(findBox_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        if (value == item.data()) return true;
    }
    return false;
}

void CMainFrame::AddFindHistory(const std::string& value) {
    if (!findBox_ || value.empty()) return;
    if (!InFindHistory(value)) SendMessageA(findBox_, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(value.c_str()));
    SetWindowTextA(findBox_, value.c_str());
}

void CMainFrame::SetHeadingText(const std::string& value) {
    if (headingField_ && text::WindowText(headingField_) != value) SetWindowTextA(headingField_, value.c_str());
}

void CMainFrame::SetInfoField(int id, const std::string& value) {
    HWND field = infoBar_.hwnd() ? GetDlgItem(infoBar_.hwnd(), id) : nullptr;
    if (field && text::WindowText(field) != value) SetWindowTextA(field, value.c_str());
}

CControlBar* CMainFrame::BarForCommand(UINT id) {
    switch (id) {
    case ID_VIEW_EDITBAR: return &editBar_;
    case ID_VIEW_OUTPUTBAR: return &outputBar_;
    case ID_VIEW_INFOBAR: return &infoBar_;
    default: return nullptr;
    }
}

bool CMainFrame::OnCmdMsg(UINT id, CCmdUI* ui) {
    auto* doc = dynamic_cast<CPramelDoc*>(GetActiveDocument());
    switch (id) {
    case ID_VIEW_EDITBAR:
    case ID_VIEW_OUTPUTBAR:
    case ID_VIEW_INFOBAR: {
        CControlBar* bar = BarForCommand(id);
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(IsBarVisible(*bar));
        } else {
            ShowControlBar(*bar, !IsBarVisible(*bar));
        }
        return true;
    }
    case ID_ALWAYS_ON_TOP:
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(alwaysOnTop_);
        } else {
            ToggleAlwaysOnTop();
        }
        return true;
    case ID_FULL_SCREEN:
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(fullScreen_);
        } else {
            ToggleFullScreen();
        }
        return true;
    case ID_INDICATOR_WRITE:
        if (ui) ui->Enable(doc && doc->writable == 0);
        return true;
    case ID_INDICATOR_MODE:
        if (ui) {
            int mode = doc ? doc->mode : 0;
            ui->SetText(mode == CPramelDoc::kModeText       ? texts::kModeText
                        : mode == CPramelDoc::kModeBinary   ? texts::kModeBinary
                        : mode == CPramelDoc::kModeTemplate ? texts::kModeTemplate
                                                            : "");
        }
        return true;
    default:
        return CFrameWnd::OnCmdMsg(id, ui);
    }
}

void CMainFrame::ToggleAlwaysOnTop() {
    SetWindowPos(hwnd(), alwaysOnTop_ ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    alwaysOnTop_ = !alwaysOnTop_;
}

void CMainFrame::ToggleFullScreen() {
    CControlBar* bars[4] = {&statusBar_, &standardBar_, &editBar_, &outputBar_};
    LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    if (!fullScreen_) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd(), &placement);
        savedShowState_ = static_cast<int>(placement.showCmd);
        for (int i = 0; i < 4; ++i) {
            savedBars_[i] = IsBarVisible(*bars[i]);
            if (savedBars_[i]) ShowControlBar(*bars[i], false);
        }
        SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME));
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        ShowWindow(hwnd(), SW_MAXIMIZE);
        fullScreen_ = true;
    } else {
        for (int i = 0; i < 4; ++i) {
            if (savedBars_[i]) ShowControlBar(*bars[i], true);
        }
        SetWindowLongPtrA(hwnd(), GWL_STYLE, style | WS_CAPTION | WS_THICKFRAME);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        if (savedShowState_ >= 0) ShowWindow(hwnd(), savedShowState_);
        savedShowState_ = -1;
        fullScreen_ = false;
    }
    RecalcLayout();
}

bool CMainFrame::InFindBox(HWND window) const {
    return findBox_ && window && (window == findBox_ || IsChild(findBox_, window));
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    if (InFindBox(msg.hwnd)) {
        // Enter searches down; other keys belong to the box's edit field.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
            RouteCommand(ID_FIND_DOWN);
            return true;
        }
        if (msg.message == WM_CHAR && msg.wParam == '\r') return true;
        return false;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::OnActivate(bool active, bool minimized) {
    auto* doc = dynamic_cast<CPramelDoc*>(GetActiveDocument());
    if (!doc || doc->GetPathName().empty()) return;
    const std::string& path = doc->GetPathName();
    doc->SetTitle(!active && !minimized ? text::FileNameOf(path) : path);
}

void CMainFrame::OnClose() {
    if (!QueryCloseDocument()) return;
    CWinApp::Get()->HandOverMainWindow(this);
    // The layout to keep is the one the user chose, not the full-screen one.
    if (fullScreen_) ToggleFullScreen();
    DestroyFrame();
}

void CMainFrame::OnFrameClosing() {
    // However the frame closes (its close box, File > Close, the end of the
    // program), its bar layout is what the next frame starts with. The
    // layout to keep is the one the user chose, not the full-screen one.
    if (!created_) return;
    if (fullScreen_) {
        CControlBar* bars[4] = {&statusBar_, &standardBar_, &editBar_, &outputBar_};
        for (int i = 0; i < 4; ++i) {
            if (savedBars_[i]) ShowControlBar(*bars[i], true);
        }
    }
    SaveBarState(texts::kBarStateSection);
}
