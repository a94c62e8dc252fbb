#include "framework/CFrameWnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "framework/CControlBar.h"
#include "framework/CDocument.h"
#include "framework/CStatusBar.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkTexts.h"
#include "framework/StandardIds.h"
#include "framework/Strings.h"

namespace {
constexpr UINT kTopDockId = 0xE81B;
constexpr UINT kBottomDockId = 0xE81D;
}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

bool CFrameWnd::LoadFrame(UINT resourceId, CDocument* document, const CDocTemplate::ViewFactory& makeView) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    if (!RegisterClassOnce(WindowClassName(), CS_DBLCLKS, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return false;
    }
    document_ = document;
    menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    accelerators_ = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    CWinApp::Get()->AddFrame(this);
    if (!CreateEx(WS_EX_ACCEPTFILES, WindowClassName(), CWinApp::Get()->AppTitle().c_str(),
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  nullptr, menu_)) {
        // The window never came to be, or went at once: either way this
        // object does not own itself yet.
        CWinApp::Get()->RemoveFrame(this);
        if (menu_ && !IsMenu(menu_)) menu_ = nullptr;
        if (menu_) DestroyMenu(menu_);
        delete this;
        return false;
    }
    ownsSelf_ = true;
    view_.reset(makeView());
    if (!view_ || !view_->Create(this, ids::kFirstPane)) {
        DestroyWindow(hwnd());
        return false;
    }
    view_->SetDocument(document);
    if (document) document->SetView(view_.get());
    RecalcLayout();
    return true;
}

void CFrameWnd::InitialUpdateFrame(bool makeVisible) {
    if (view_) view_->OnInitialUpdate();
    OnUpdateFrameTitle();
    if (!makeVisible) return;
    bool first = CWinApp::Get()->mainWnd() == this && CWinApp::Get()->frames().size() == 1;
    ShowWindow(hwnd(), first ? CWinApp::Get()->showCommand() : SW_SHOW);
    UpdateWindow(hwnd());
    if (view_) SetFocus(view_->hwnd());
}

bool CFrameWnd::RouteCommand(UINT id) {
    CCmdUI probe = CCmdUI::ForProbe(id);
    RouteCommandUpdate(probe);
    if (!probe.handled || !probe.enabled()) return false;
    if (view_ && view_->OnCmdMsg(id, nullptr)) return true;
    if (document_ && document_->OnCmdMsg(id, nullptr)) return true;
    if (OnCmdMsg(id, nullptr)) return true;
    return CWinApp::Get()->OnCmdMsg(id, nullptr);
}

void CFrameWnd::RouteCommandUpdate(CCmdUI& ui) {
    if (view_ && view_->OnCmdMsg(ui.id(), &ui)) return;
    if (document_ && document_->OnCmdMsg(ui.id(), &ui)) return;
    if (OnCmdMsg(ui.id(), &ui)) return;
    CWinApp::Get()->OnCmdMsg(ui.id(), &ui);
}

bool CFrameWnd::OnCmdMsg(UINT id, CCmdUI* ui) {
    switch (id) {
    case ids::kIndicatorCaps:
    case ids::kIndicatorNum:
    case ids::kIndicatorScrl:
        if (ui) {
            int key = id == ids::kIndicatorCaps ? VK_CAPITAL : id == ids::kIndicatorNum ? VK_NUMLOCK : VK_SCROLL;
            ui->Enable((GetKeyState(key) & 1) != 0);
        }
        return true;
    case ids::kStandardToolBar:
    case ids::kStatusBar: {
        CControlBar* bar = FindBar(id);
        if (!bar) return false;
        if (ui) {
            ui->Enable(true);
            ui->SetCheck(IsBarVisible(*bar));
        } else {
            ShowControlBar(*bar, !IsBarVisible(*bar));
        }
        return true;
    }
    default:
        return false;
    }
}

bool CFrameWnd::PreTranslateMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !accelerators_) return false;
    return TranslateAcceleratorA(hwnd(), accelerators_, &msg) != 0;
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (!hwnd() || !IsWindowVisible(hwnd())) return;
    for (CControlBar* bar : bars_) {
        if (IsWindowVisible(bar->hwnd())) bar->UpdateCommandUI(*this);
    }
}

void CFrameWnd::OnUpdateFrameTitle() {
    std::string title = CWinApp::Get()->AppTitle();
    if (document_ && !document_->GetTitle().empty()) title = document_->GetTitle() + " - " + title;
    if (text::WindowText(hwnd()) != title) SetWindowTextA(hwnd(), title.c_str());
}

CControlBar* CFrameWnd::FindBar(UINT barId) const {
    for (CControlBar* bar : bars_) {
        if (bar->barId() == barId) return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar& bar, bool show) {
    if (top_.hwnd() && top_.Contains(bar)) {
        top_.ShowBar(bar, show);
    } else if (bottom_.hwnd() && bottom_.Contains(bar)) {
        bottom_.ShowBar(bar, show);
    } else {
        ShowWindow(bar.hwnd(), show ? SW_SHOWNA : SW_HIDE);
    }
    RecalcLayout();
}

bool CFrameWnd::IsBarVisible(const CControlBar& bar) const {
    if (top_.hwnd() && top_.Contains(bar)) return top_.IsBarVisible(bar);
    if (bottom_.hwnd() && bottom_.Contains(bar)) return bottom_.IsBarVisible(bar);
    return (GetWindowLongPtrA(bar.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void CFrameWnd::RecalcLayout() {
    if (!hwnd()) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    int width = rc.right - rc.left;
    if (statusBar_ && statusBar_->hwnd()) {
        SendMessageA(statusBar_->hwnd(), WM_SIZE, 0, 0);
        statusBar_->Layout();
        rc.bottom -= statusBar_->Height();
    }
    if (top_.hwnd()) {
        SetWindowPos(top_.hwnd(), nullptr, 0, rc.top, width, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        int h = top_.Height();
        SetWindowPos(top_.hwnd(), nullptr, 0, rc.top, width, h, SWP_NOZORDER | SWP_NOACTIVATE);
        rc.top += h;
    }
    if (bottom_.hwnd()) {
        SetWindowPos(bottom_.hwnd(), nullptr, 0, rc.bottom, width, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        int h = bottom_.Height();
        rc.bottom -= h;
        SetWindowPos(bottom_.hwnd(), nullptr, 0, rc.bottom, width, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (view_ && view_->hwnd()) {
        SetWindowPos(view_->hwnd(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CFrameWnd::SetMessageText(const std::string& message) {
    if (statusBar_ && statusBar_->hwnd()) statusBar_->SetMessageText(message);
}

void CFrameWnd::SetIdleMessage() { SetMessageText(text::Load(ids::kIdleMessage)); }

void CFrameWnd::SaveBarState(const std::string& section) const {
    const CSettingsStore& store = CWinApp::Get()->settings();
    for (const CControlBar* bar : bars_) {
        store.WriteInt(section, text::Format("Bar%u", bar->barId()), IsBarVisible(*bar) ? 1 : 0);
    }
}

void CFrameWnd::LoadBarState(const std::string& section) {
    const CSettingsStore& store = CWinApp::Get()->settings();
    for (CControlBar* bar : bars_) {
        int visible = store.GetInt(section, text::Format("Bar%u", bar->barId()), -1);
        if (visible >= 0 && (visible != 0) != IsBarVisible(*bar)) ShowControlBar(*bar, visible != 0);
    }
    RecalcLayout();
}

bool CFrameWnd::OnCreate() {
    if (!top_.Create(hwnd(), kTopDockId)) return false;
    if (!bottom_.Create(hwnd(), kBottomDockId)) return false;
    return true;
}

bool CFrameWnd::QueryCloseDocument() {
    if (document_ && !document_->CanCloseFrame(this)) return false;
    return true;
}

void CFrameWnd::DestroyFrame() {
    // The document closes its frame (this) and deletes itself.
    if (document_) {
        document_->OnCloseDocument();
    } else {
        DestroyWindow(hwnd());
    }
}

void CFrameWnd::OnClose() {
    if (!QueryCloseDocument()) return;
    CWinApp::Get()->HandOverMainWindow(this);
    DestroyFrame();
}

void CFrameWnd::OnActivate(bool, bool) {}

void CFrameWnd::OnDropFiles(HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        if (DragQueryFileA(drop, i, path, sizeof path)) paths.emplace_back(path);
    }
    DragFinish(drop);
    SetForegroundWindow(hwnd());
    for (const auto& path : paths) CWinApp::Get()->OpenDocumentFile(path);
}

bool CFrameWnd::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kDroppedFilesData || data->cbData < sizeof(DROPFILES) + 2) return false;
    // The sender waits for this reply: copy the block into a dropped-files
    // handle of this process and open the files after returning.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, data->cbData + 2);
    if (!block) return false;
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, data->lpData, data->cbData);
        auto* header = static_cast<DROPFILES*>(p);
        bool valid = header->pFiles >= sizeof(DROPFILES) && header->pFiles < data->cbData && !header->fWide;
        GlobalUnlock(block);
        if (valid && PostMessageA(hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) return true;
    }
    GlobalFree(block);
    return false;
}

void CFrameWnd::ShowPrompt(UINT id) {
    std::string prompt = text::PromptOf(text::Load(id));
    if (prompt.empty()) {
        SetIdleMessage();
    } else {
        SetMessageText(prompt);
    }
}

LRESULT CFrameWnd::OnNotify(NMHDR* header) {
    switch (header->code) {
    case TTN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        tooltip_ = text::TooltipOf(text::Load(static_cast<UINT>(header->idFrom)));
        info->lpszText = const_cast<char*>(tooltip_.c_str());
        info->hinst = nullptr;
        return 0;
    }
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        tooltip_ = text::TooltipOf(text::Load(static_cast<UINT>(header->idFrom)));
        int n = MultiByteToWideChar(CP_ACP, 0, tooltip_.c_str(), -1, nullptr, 0);
        tooltipWide_.assign(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
        if (n > 0) MultiByteToWideChar(CP_ACP, 0, tooltip_.c_str(), -1, &tooltipWide_[0], n);
        info->lpszText = &tooltipWide_[0];
        info->hinst = nullptr;
        return 0;
    }
    case TBN_HOTITEMCHANGE: {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        if (hot->dwFlags & HICF_LEAVING) {
            SetIdleMessage();
        } else {
            ShowPrompt(static_cast<UINT>(hot->idNew));
        }
        return 0;
    }
    case RBN_HEIGHTCHANGE:
        RecalcLayout();
        return 0;
    default:
        return 0;
    }
}

void CFrameWnd::OnInitMenuPopup(HMENU menu) {
    CRecentFileList* recent = CWinApp::Get()->recentFiles();
    int count = GetMenuItemCount(menu);
    if (recent) {
        for (int i = 0; i < count; ++i) {
            UINT id = GetMenuItemID(menu, i);
            if (id >= ids::kFileMru1 && id <= ids::kFileMruLast) {
                recent->UpdateMenu(menu, texts::kRecentFilesEmpty);
                count = GetMenuItemCount(menu);
                break;
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        CCmdUI ui = CCmdUI::ForMenuItem(menu, static_cast<UINT>(i), id);
        RouteCommandUpdate(ui);
        if (!ui.handled) ui.Enable(false);
    }
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && menu == nullptr) {
        SetIdleMessage();  // the menu closed
    } else if (flags & (MF_POPUP | MF_SEPARATOR)) {
        SetMessageText(std::string());
    } else {
        ShowPrompt(item);
    }
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (view_ && view_->hwnd()) SetFocus(view_->hwnd());
        return 0;
    case WM_COMMAND: {
        UINT code = HIWORD(wp);
        // Menus (0), accelerators (1) and toolbar buttons (BN_CLICKED from
        // the toolbar) are commands; other notifications are the controls'.
        if (lp == 0 || code == BN_CLICKED) {
            RouteCommand(LOWORD(wp));
            return 0;
        }
        return Default(msg, wp, lp);
    }
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        return 0;
    case WM_EXITMENULOOP:
        SetIdleMessage();
        return 0;
    case WM_ACTIVATE:
        Default(msg, wp, lp);
        OnActivate(LOWORD(wp) != WA_INACTIVE, HIWORD(wp) != 0);
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp)) ? TRUE : FALSE;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        CWinApp::Get()->RemoveFrame(this);
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

void CFrameWnd::PostNcDestroy() {
    if (document_) document_->SetView(nullptr);
    if (ownsSelf_) delete this;
}
