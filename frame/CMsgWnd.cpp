#include "frame/CMsgWnd.h"

#include <richedit.h>

#include "frame/FrameTexts.h"
#include "framework/CFrameWnd.h"
#include "framework/Strings.h"
#include "resources/pramel/resource.h"

CMsgWnd::CMsgWnd() : CDialogBar(IDD_MSGBAR) {}

bool CMsgWnd::Create(HWND frame, UINT barId) {
    frame_ = frame;
    if (!CDialogBar::Create(frame, barId)) return false;
    // Without the rich-edit library the bar shows only its dialog controls.
    if (LoadLibraryA("riched20.dll")) {
        output_ = CreateWindowExA(0, "RichEdit20A", "",
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                                  0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_OUTPUT_TEXT)),
                                  GetModuleHandleA(nullptr), nullptr);
    }
    if (output_) {
        SendMessageA(output_, EM_SETEVENTMASK, 0, ENM_LINK);
        SendMessageA(output_, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
        LOGFONTA logFont{};
        HFONT barFont = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
        if (barFont) GetObjectA(barFont, sizeof logFont, &logFont);
        logFont.lfHeight = 14;
        logFont.lfWidth = 0;
        logFont.lfPitchAndFamily = FIXED_PITCH;
        logFont.lfCharSet = SHIFTJIS_CHARSET;
        lstrcpynA(logFont.lfFaceName, texts::kOutputFontFace, LF_FACESIZE);
        font_.reset(CreateFontIndirectA(&logFont));
        if (font_) SendMessageA(output_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    SetWindowTextA(hwnd(), texts::kOutputBarTitle);
    Layout();
    return true;
}

void CMsgWnd::Layout() {
    if (!output_) return;
    RECT bar{};
    GetClientRect(hwnd(), &bar);
    if (IsFloating()) {
        // Floating, the text fills the bar below the template line.
        int right = bar.right - 3;
        int bottom = bar.bottom - 2;
        if (right < 1) right = 1;
        if (bottom < 23) bottom = 23;
        SetWindowPos(output_, nullptr, 0, 22, right, bottom - 22, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT frame{};
    GetClientRect(frame_, &frame);
    // Docked, the bar is as wide as the frame; the text keeps a margin.
    int right = (frame.right > 0 ? frame.right : bar.right) - 20;
    int bottom = bar.bottom - 5;
    if (right < 10) right = 10;
    if (bottom < 22) bottom = 22;
    SetWindowPos(output_, nullptr, 10, 22, right - 10, bottom - 22, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMsgWnd::OnDockStateChanged(bool floating, bool vertical) {
    CDialogBar::OnDockStateChanged(floating, vertical);
    Layout();
}

std::string CMsgWnd::OutputText() const { return output_ ? text::WindowText(output_) : std::string(); }

void CMsgWnd::SetOutputText(const std::string& value) {
    if (!output_) return;
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageA(output_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(value.c_str()));
    if (value.empty()) return;
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(frame_));
    if (frame && !frame->IsBarVisible(*this)) SendMessageA(frame_, WM_COMMAND, ID_VIEW_OUTPUTBAR, 0);
}

INT_PTR CMsgWnd::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kMessage:
        switch (wp) {
        case 0:
            SetOutputText(std::string());
            break;
        case 1:
            SetOutputText(lp ? *reinterpret_cast<const std::string*>(lp) : std::string());
            break;
        case 2:
            // A template run's result comes with the template side; the end
            // of any other load clears what an earlier run left.
            SetOutputText(std::string());
            SetItemText(IDC_TEMPLATE_NAME, std::string());
            EnableWindow(Item(IDC_DETAILS), FALSE);
            break;
        default:
            break;
        }
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_SIZE:
        Layout();
        return FALSE;
    default:
        return CDialogBar::DialogProc(msg, wp, lp);
    }
}
