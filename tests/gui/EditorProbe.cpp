// pramel_gui_probe.dll: loaded into the running editor by the GUI tests
// (PramelSession) for what a test cannot do from its own process under
// Wine: read the editor's menus, and stand in for the rich-edit control's
// page layout, which Wine lacks, so that printing can run to its end. Its
// functions run on threads that the test starts in the editor.
#include <windows.h>
#include <richedit.h>

namespace {

struct Request {
    HWND frame;
    UINT command;
};

// The popup that holds the command directly, and its position in its
// parent menu (what WM_INITMENUPOPUP names).
bool FindPopup(HMENU menu, UINT command, HMENU* popup, int* position) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub) continue;
        int n = GetMenuItemCount(sub);
        for (int j = 0; j < n; ++j) {
            if (GetMenuItemID(sub, j) == command) {
                *popup = sub;
                *position = i;
                return true;
            }
        }
        if (FindPopup(sub, command, popup, position)) return true;
    }
    return false;
}

}  // namespace

// The state flags of the frame's menu item with the command id, after the
// frame has updated the item's popup as it does when the user opens it;
// 0xFFFFFFFF when there is no such item.
extern "C" __declspec(dllexport) DWORD WINAPI ProbeMenuItemState(void* parameter) {
    const auto* request = static_cast<const Request*>(parameter);
    HMENU popup = nullptr;
    int position = 0;
    if (!FindPopup(GetMenu(request->frame), request->command, &popup, &position)) return 0xFFFFFFFF;
    DWORD_PTR r = 0;
    SendMessageTimeoutA(request->frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(position, FALSE),
                        SMTO_NORMAL, 10000, &r);
    return GetMenuState(popup, request->command, MF_BYCOMMAND);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }

// --- page layout stand-in -------------------------------------------------

namespace {

struct PageRequest {
    RECT rc;
    RECT rcPage;
    LONG cpMin;
    LONG cpMax;
    LONG render;
    LONG next;
};

struct PageLog {
    HWND control;
    LONG charsPerPage;
    LONG count;
    PageRequest pages[64];
};

PageLog* g_log = nullptr;
WNDPROC g_controlProc = nullptr;

LRESULT CALLBACK LayoutStandIn(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != EM_FORMATRANGE) return CallWindowProcA(g_controlProc, window, msg, wp, lp);
    if (!lp) return 0;  // the caller is done: nothing cached to free
    const auto* range = reinterpret_cast<const FORMATRANGE*>(lp);
    GETTEXTLENGTHEX length{GTL_DEFAULT, CP_ACP};
    LONG end = static_cast<LONG>(
        CallWindowProcA(g_controlProc, window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    LONG last = range->chrg.cpMax < 0 || range->chrg.cpMax > end ? end : range->chrg.cpMax;
    LONG next = range->chrg.cpMin + g_log->charsPerPage;
    if (next > last) next = last;
    if (g_log->count < 64) {
        PageRequest& page = g_log->pages[g_log->count++];
        page.rc = range->rc;
        page.rcPage = range->rcPage;
        page.cpMin = range->chrg.cpMin;
        page.cpMax = range->chrg.cpMax;
        page.render = static_cast<LONG>(wp);
        page.next = next;
    }
    return next;
}

}  // namespace

// Stands in for the rich-edit control's page layout (EM_FORMATRANGE, which
// Wine does not implement): each page takes the log's charsPerPage
// characters, and every request is recorded in the log, which lives in the
// editor's memory where the test reads it.
extern "C" __declspec(dllexport) DWORD WINAPI ProbeStandInPageLayout(void* parameter) {
    g_log = static_cast<PageLog*>(parameter);
    if (g_controlProc) return 1;
    g_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_log->control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LayoutStandIn)));
    return g_controlProc ? 1 : 0;
}
