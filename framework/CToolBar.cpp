#include "framework/CToolBar.h"

#include <commctrl.h>

#include "framework/CFrameWnd.h"

bool CToolBar::Create(HWND frame, UINT barId, UINT bitmapId, const std::vector<UINT>& buttons) {
    barId_ = barId;
    hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                            0, 0, 0, 0, frame, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(barId)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return false;
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    int images = 0;
    for (UINT id : buttons) images += id != 0;
    images_.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, images, 0));
    UniqueBitmap strip(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!images_ || !strip) return false;
    ImageList_AddMasked(images_.get(), strip.get(), RGB(255, 0, 255));
    SendMessageA(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));

    std::vector<TBBUTTON> items;
    int image = 0;
    for (UINT id : buttons) {
        TBBUTTON b{};
        if (id == 0) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = 6;
        } else {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        b.iString = -1;
        items.push_back(b);
    }
    commands_ = buttons;
    SendMessageA(hwnd_, TB_ADDBUTTONSA, items.size(), reinterpret_cast<LPARAM>(items.data()));
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
    return true;
}

RECT CToolBar::ReplaceWithSeparator(int index, UINT id, int width) {
    TBBUTTON b{};
    b.fsStyle = BTNS_SEP;
    b.iBitmap = width;  // a separator's image index is its width
    b.idCommand = static_cast<int>(id);
    SendMessageA(hwnd_, TB_DELETEBUTTON, index, 0);
    SendMessageA(hwnd_, TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(&b));
    if (index >= 0 && static_cast<std::size_t>(index) < commands_.size()) commands_[index] = 0;
    slots_.push_back(ControlSlot{index, id, width});
    RECT rc{};
    SendMessageA(hwnd_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

SIZE CToolBar::BarSize(bool vertical) const {
    // The buttons are already laid out for the side; a column is at least
    // one button wide.
    SIZE size{};
    SendMessageA(hwnd_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    DWORD buttonSize = static_cast<DWORD>(SendMessageA(hwnd_, TB_GETBUTTONSIZE, 0, 0));
    if (size.cy < HIWORD(buttonSize)) size.cy = HIWORD(buttonSize);
    if (vertical && size.cx < LOWORD(buttonSize)) size.cx = LOWORD(buttonSize);
    return size;
}

void CToolBar::SetSlotWidth(const ControlSlot& slot, int width) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    // A separator's width is both its size and its image index.
    info.dwMask = TBIF_SIZE | TBIF_IMAGE | TBIF_BYINDEX;
    info.cx = static_cast<WORD>(width);
    info.iImage = width;
    SendMessageA(hwnd_, TB_SETBUTTONINFOA, static_cast<WPARAM>(slot.index), reinterpret_cast<LPARAM>(&info));
}

void CToolBar::OnDockStateChanged(bool floating, bool vertical) {
    CControlBar::OnDockStateChanged(floating, vertical);
    if (vertical == vertical_) return;
    vertical_ = vertical;
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, vertical ? (style | CCS_VERT) : (style & ~static_cast<LONG_PTR>(CCS_VERT)));
    int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(hwnd_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        BYTE state = vertical ? (button.fsState | TBSTATE_WRAP) : (button.fsState & ~TBSTATE_WRAP);
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = state;
        SendMessageA(hwnd_, TB_SETBUTTONINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
    // A combo box or text field has no room in a column of buttons.
    for (const ControlSlot& slot : slots_) {
        SetSlotWidth(slot, vertical ? 6 : slot.width);
        if (HWND control = GetDlgItem(hwnd_, static_cast<int>(slot.id))) {
            ShowWindow(control, vertical ? SW_HIDE : SW_SHOWNA);
        }
    }
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
}

int CToolBar::ButtonCount() const { return static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)); }

void CToolBar::UpdateCommandUI(CFrameWnd& frame) {
    for (UINT id : commands_) {
        if (id == 0) continue;
        CCmdUI ui = CCmdUI::ForToolButton(hwnd_, id);
        frame.RouteCommandUpdate(ui);
        if (!ui.handled) ui.Enable(false);
    }
}
