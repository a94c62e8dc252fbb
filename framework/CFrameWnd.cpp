#include "framework/CFrameWnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
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

// Child ids of the dock sites, by side (top, bottom, left, right).
constexpr UINT kDockIds[kDockSides] = {0xE81B, 0xE81E, 0xE81C, 0xE81D};
// Posted to the frame to dock a floating bar once its window's message is
// done (wParam: side, or kDockWhereItWas; lParam: bar id).
constexpr UINT kDockRequest = WM_USER + 0x300;
constexpr WPARAM kDockWhereItWas = 0xFF;
// Posted when a band was let go (wParam: bar id, lParam: screen point).
constexpr UINT kBarDragEnded = WM_USER + 0x302;
// How near an edge of the frame's inner area a bar must be let go to dock.
constexpr int kDockReach = 40;
// Where a bar is kept in the settings: its side, or that it floats.
constexpr int kSavedFloating = 4;

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

const CDockSite* CFrameWnd::SiteOf(const CControlBar& bar) const {
    for (const CDockSite& site : docks_) {
        if (site.Contains(bar)) return &site;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar& bar, bool show) {
    auto floating = floating_.find(bar.barId());
    if (const CDockSite* site = SiteOf(bar)) {
        const_cast<CDockSite*>(site)->ShowBar(bar, show);
    } else if (floating != floating_.end()) {
        floating->second->Show(show);
    } else {
        ShowWindow(bar.hwnd(), show ? SW_SHOWNA : SW_HIDE);
    }
    RecalcLayout();
}

bool CFrameWnd::IsBarVisible(const CControlBar& bar) const {
    if (const CDockSite* site = SiteOf(bar)) return site->IsBarVisible(bar);
    // A floating bar is shown while its window is, even when the system
    // hides that window with the minimized frame.
    auto floating = floating_.find(bar.barId());
    if (floating != floating_.end()) return floating->second->IsShown();
    return (GetWindowLongPtrA(bar.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool CFrameWnd::DetachBar(CControlBar& bar) {
    bool visible = IsBarVisible(bar);
    if (const CDockSite* site = SiteOf(bar)) {
        lastSide_[bar.barId()] = site->side();
        const_cast<CDockSite*>(site)->RemoveBar(bar);
    }
    auto floating = floating_.find(bar.barId());
    if (floating != floating_.end()) {
        floating->second->ReleaseBar();
        floating_.erase(floating);
    }
    return visible;
}

bool CFrameWnd::DockDetached(CControlBar& bar, DockSide side, int position, bool newRow, bool visible) {
    SetParent(bar.hwnd(), hwnd());
    bool docked = bar.CanDock(side) && Dock(side).AddBar(bar, position, newRow);
    for (int i = 0; !docked && i < kDockSides; ++i) {
        side = static_cast<DockSide>(i);
        docked = bar.CanDock(side) && Dock(side).AddBar(bar);
    }
    if (docked) {
        lastSide_[bar.barId()] = side;
        if (!visible) Dock(side).ShowBar(bar, false);
    }
    RecalcLayout();
    return docked;
}

bool CFrameWnd::DockControlBar(CControlBar& bar, DockSide side, int position, bool newRow) {
    if (!bar.CanDock(side) || !Dock(side).hwnd()) return false;
    bool visible = DetachBar(bar);
    return DockDetached(bar, side, position, newRow, visible);
}

bool CFrameWnd::FloatControlBar(CControlBar& bar, POINT topLeft) {
    if (!bar.IsDockable()) return false;
    bool visible = DetachBar(bar);
    auto window = std::make_unique<CFloatingBar>(*this, bar);
    // Only dialog bars can be resized; a toolbar keeps its buttons' size.
    bool resizable = !bar.CanDock(DockSide::Left) && !bar.CanDock(DockSide::Right);
    if (!window->Create(topLeft, resizable, visible)) {
        // Nowhere to float: the bar goes back where it was.
        window->ReleaseBar();
        auto last = lastSide_.find(bar.barId());
        DockSide side = last != lastSide_.end() ? last->second : DockSide::Top;
        DockDetached(bar, side, -1, true, visible);
        return false;
    }
    floating_[bar.barId()] = std::move(window);
    RecalcLayout();
    return true;
}

bool CFrameWnd::DockSideNear(const CControlBar& bar, POINT screen, DockSide* side) const {
    // The inner area: the client area less the status bar.
    RECT inner{};
    GetClientRect(hwnd(), &inner);
    if (statusBar_ && statusBar_->hwnd() && IsWindowVisible(statusBar_->hwnd())) inner.bottom -= statusBar_->Height();
    POINT point = screen;
    ScreenToClient(hwnd(), &point);
    if (!PtInRect(&inner, point)) return false;
    const int distance[kDockSides] = {point.y - inner.top, inner.bottom - point.y, point.x - inner.left,
                                      inner.right - point.x};
    bool found = false;
    int nearest = kDockReach;
    for (int i = 0; i < kDockSides; ++i) {
        // The sites' own thickness counts as near as well.
        int reach = nearest + docks_[i].Thickness();
        if (bar.CanDock(static_cast<DockSide>(i)) && distance[i] < reach) {
            nearest = distance[i] - docks_[i].Thickness();
            *side = static_cast<DockSide>(i);
            found = true;
        }
    }
    return found;
}

void CFrameWnd::OnBarDragged(CControlBar& bar, POINT screen) {
    // Let go on its own site: the site has moved the band already.
    if (const CDockSite* site = SiteOf(bar)) {
        RECT rc{};
        GetWindowRect(site->hwnd(), &rc);
        InflateRect(&rc, kDockReach / 2, kDockReach / 2);
        if (PtInRect(&rc, screen)) return;
    }
    DockSide side;
    if (DockSideNear(bar, screen, &side)) {
        DockControlBar(bar, side);
    } else {
        FloatControlBar(bar, screen);
    }
}

void CFrameWnd::OnFloatingBarMoved(CControlBar& bar) {
    POINT cursor{};
    GetCursorPos(&cursor);
    DockSide side;
    if (DockSideNear(bar, cursor, &side)) {
        PostMessageA(hwnd(), kDockRequest, static_cast<WPARAM>(side), bar.barId());
    }
}

void CFrameWnd::DockBarWhereItWas(CControlBar& bar) {
    PostMessageA(hwnd(), kDockRequest, kDockWhereItWas, bar.barId());
}

void CFrameWnd::ApplyDockRequest(UINT barId, WPARAM side) {
    CControlBar* bar = FindBar(barId);
    if (!bar || floating_.find(barId) == floating_.end()) return;
    if (side == kDockWhereItWas) {
        auto last = lastSide_.find(barId);
        side = static_cast<WPARAM>(last != lastSide_.end() ? last->second : DockSide::Top);
    }
    if (side < kDockSides) DockControlBar(*bar, static_cast<DockSide>(side));
}

void CFrameWnd::RecalcLayout() {
    if (!hwnd()) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (statusBar_ && statusBar_->hwnd()) {
        SendMessageA(statusBar_->hwnd(), WM_SIZE, 0, 0);
        statusBar_->Layout();
        rc.bottom -= statusBar_->Height();
    }
    LayoutDocks(rc);
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (rc.right < rc.left) rc.right = rc.left;
    if (view_ && view_->hwnd()) {
        SetWindowPos(view_->hwnd(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CFrameWnd::LayoutDocks(RECT& rc) {
    // Top and bottom span the frame; left and right fill the height between.
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    CDockSite& top = Dock(DockSide::Top);
    CDockSite& bottom = Dock(DockSide::Bottom);
    CDockSite& left = Dock(DockSide::Left);
    CDockSite& right = Dock(DockSide::Right);
    int width = rc.right - rc.left;
    if (top.hwnd()) {
        SetWindowPos(top.hwnd(), nullptr, rc.left, rc.top, width, 0, kFlags);
        int h = top.Thickness();
        SetWindowPos(top.hwnd(), nullptr, rc.left, rc.top, width, h, kFlags);
        rc.top += h;
    }
    if (bottom.hwnd()) {
        SetWindowPos(bottom.hwnd(), nullptr, rc.left, rc.bottom, width, 0, kFlags);
        int h = bottom.Thickness();
        rc.bottom -= h;
        SetWindowPos(bottom.hwnd(), nullptr, rc.left, rc.bottom, width, h, kFlags);
    }
    int height = rc.bottom > rc.top ? rc.bottom - rc.top : 0;
    if (left.hwnd()) {
        SetWindowPos(left.hwnd(), nullptr, rc.left, rc.top, 0, height, kFlags);
        int w = left.Thickness();
        SetWindowPos(left.hwnd(), nullptr, rc.left, rc.top, w, height, kFlags);
        rc.left += w;
    }
    if (right.hwnd()) {
        SetWindowPos(right.hwnd(), nullptr, rc.right, rc.top, 0, height, kFlags);
        int w = right.Thickness();
        rc.right -= w;
        SetWindowPos(right.hwnd(), nullptr, rc.right, rc.top, w, height, kFlags);
    }
}

void CFrameWnd::SetMessageText(const std::string& message) {
    if (statusBar_ && statusBar_->hwnd()) statusBar_->SetMessageText(message);
}

void CFrameWnd::SetIdleMessage() { SetMessageText(text::Load(ids::kIdleMessage)); }

void CFrameWnd::SaveBarState(const std::string& section) const {
    const CSettingsStore& store = CWinApp::Get()->settings();
    for (const CControlBar* bar : bars_) {
        UINT id = bar->barId();
        store.WriteInt(section, text::Format("Bar%u", id), IsBarVisible(*bar) ? 1 : 0);
        if (!bar->IsDockable()) continue;
        if (const CDockSite* site = SiteOf(*bar)) {
            store.WriteInt(section, text::Format("Side%u", id), static_cast<int>(site->side()));
            store.WriteInt(section, text::Format("Place%u", id), site->PositionOf(*bar));
            store.WriteInt(section, text::Format("Row%u", id), site->StartsRow(*bar) ? 1 : 0);
        } else if (auto floating = floating_.find(id); floating != floating_.end()) {
            RECT rc{};
            GetWindowRect(floating->second->hwnd(), &rc);
            store.WriteInt(section, text::Format("Side%u", id), kSavedFloating);
            store.WriteInt(section, text::Format("X%u", id), rc.left);
            store.WriteInt(section, text::Format("Y%u", id), rc.top);
        }
    }
}

void CFrameWnd::LoadBarState(const std::string& section) {
    const CSettingsStore& store = CWinApp::Get()->settings();
    // Where each dockable bar goes. Values that are out of range, or name a
    // side the bar may not dock on, leave the bar where it is.
    struct Placement {
        CControlBar* bar;
        int side;
        int place;
        bool newRow;
        POINT topLeft;
    };
    std::vector<Placement> placements;
    for (CControlBar* bar : bars_) {
        if (!bar->IsDockable()) continue;
        UINT id = bar->barId();
        int side = store.GetInt(section, text::Format("Side%u", id), -1);
        Placement p{bar, side, store.GetInt(section, text::Format("Place%u", id), 0),
                    store.GetInt(section, text::Format("Row%u", id), 1) != 0,
                    POINT{store.GetInt(section, text::Format("X%u", id), 0),
                          store.GetInt(section, text::Format("Y%u", id), 0)}};
        bool valid = (side >= 0 && side < kDockSides && bar->CanDock(static_cast<DockSide>(side))) ||
                     side == kSavedFloating;
        if (valid) placements.push_back(p);
    }
    // Docked bars go to their sides in their saved order.
    std::stable_sort(placements.begin(), placements.end(),
                     [](const Placement& a, const Placement& b) { return a.place < b.place; });
    for (const Placement& p : placements) {
        if (p.side == kSavedFloating) continue;
        DockControlBar(*p.bar, static_cast<DockSide>(p.side), -1, p.newRow);
    }
    for (const Placement& p : placements) {
        if (p.side != kSavedFloating) continue;
        POINT topLeft = p.topLeft;
        // A window off every screen (another monitor set-up) comes back
        // beside the frame's corner.
        if (!MonitorFromPoint(topLeft, MONITOR_DEFAULTTONULL)) {
            RECT frame{};
            GetWindowRect(hwnd(), &frame);
            topLeft = POINT{frame.left + 40, frame.top + 40};
        }
        FloatControlBar(*p.bar, topLeft);
    }
    for (CControlBar* bar : bars_) {
        int visible = store.GetInt(section, text::Format("Bar%u", bar->barId()), -1);
        if (visible >= 0 && (visible != 0) != IsBarVisible(*bar)) ShowControlBar(*bar, visible != 0);
    }
    RecalcLayout();
}

void CFrameWnd::DestroyFrameWindow() {
    OnFrameClosing();
    // Floating bars go back to the frame so that they end with it.
    for (auto& floating : floating_) floating.second->ReleaseBar();
    floating_.clear();
    DestroyWindow(hwnd());
}

bool CFrameWnd::OnCreate() {
    for (int i = 0; i < kDockSides; ++i) {
        if (!docks_[i].Create(hwnd(), kDockIds[i], static_cast<DockSide>(i))) return false;
    }
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
        DestroyFrameWindow();
    }
}

void CFrameWnd::OnClose() {
    if (!QueryCloseDocument()) return;
    CWinApp::Get()->HandOverMainWindow(this);
    DestroyFrame();
}

void CFrameWnd::OnActivate(bool, bool) {}

std::vector<std::string> CFrameWnd::DroppedFilePaths(HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        // Each name at its full length: a name cut to a fixed buffer could
        // name another file.
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::string path(length + 1, '\0');
        if (DragQueryFileA(drop, i, &path[0], length + 1) == length) {
            path.resize(length);
            paths.push_back(path);
        }
    }
    return paths;
}

void CFrameWnd::OnDropFiles(HDROP drop) {
    std::vector<std::string> paths = DroppedFilePaths(drop);
    DragFinish(drop);
    SetForegroundWindow(hwnd());
    for (const auto& path : paths) CWinApp::Get()->OpenDocumentFile(path);
}

bool CFrameWnd::ReadHandedFiles(const void* data, std::size_t size, std::vector<std::string>* names) {
    if (data == nullptr || size < sizeof(DROPFILES) + 1) return false;
    DROPFILES header{};
    std::memcpy(&header, data, sizeof header);
    if (header.pFiles != sizeof(DROPFILES) || header.fWide) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<std::string> found;
    std::size_t at = sizeof(DROPFILES);
    for (;;) {
        if (at >= size) return false;  // the list never ends
        if (bytes[at] == 0) break;     // the empty name: the end
        if (found.size() == kMaxHandedFiles) return false;
        std::size_t end = at;
        while (end < size && bytes[end] != 0) {
            if (bytes[end] < 0x20) return false;
            if (IsDBCSLeadByte(bytes[end])) {
                if (end + 1 >= size || bytes[end + 1] == 0) return false;  // a character cut by the zero
                ++end;
            }
            ++end;
        }
        if (end >= size || end - at > kMaxHandedName) return false;
        found.emplace_back(reinterpret_cast<const char*>(bytes + at), end - at);
        at = end + 1;
    }
    for (std::size_t k = at; k < size; ++k) {
        if (bytes[k] != 0) return false;
    }
    *names = std::move(found);
    return true;
}

bool CFrameWnd::OnCopyData(const COPYDATASTRUCT* data) {
    // Another process decides everything in the block: only a well-formed
    // one is taken, anything else is ignored.
    if (!data || data->dwData != kDroppedFilesData) return false;
    std::vector<std::string> names;
    if (!ReadHandedFiles(data->lpData, data->cbData, &names) || names.empty()) return false;
    // The sender waits for this reply: copy the block into a dropped-files
    // handle of this process and open the files after returning.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, data->cbData + 2);
    if (!block) return false;
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, data->lpData, data->cbData);
        GlobalUnlock(block);
        if (PostMessageA(hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) return true;
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
    case RBN_BEGINDRAG:
        draggedBar_ = nullptr;
        for (const CDockSite& site : docks_) {
            if (site.hwnd() != header->hwndFrom) continue;
            draggedBar_ = FindBar(site.BarIdAt(static_cast<int>(reinterpret_cast<NMREBAR*>(header)->uBand)));
            // Wine's control names no band here: the one the button went
            // down on.
            if (!draggedBar_) draggedBar_ = FindBar(site.BarIdAt(site.PressedBand()));
        }
        return 0;
    case RBN_ENDDRAG:
        // A bar let go away from its site moves to another side or floats,
        // once the site has finished with the drag.
        if (CControlBar* bar = draggedBar_) {
            draggedBar_ = nullptr;
            PostMessageA(hwnd(), kBarDragEnded, bar->barId(), static_cast<LPARAM>(GetMessagePos()));
        }
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
    case kDockRequest:
        ApplyDockRequest(static_cast<UINT>(lp), wp);
        return 0;
    case kBarDragEnded:
        if (CControlBar* bar = FindBar(static_cast<UINT>(wp))) {
            OnBarDragged(*bar, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        }
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
