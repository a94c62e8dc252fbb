// The output bar: the template name, the details button and a read-only
// output text that shows the document's conversion errors (and, with the
// template side, the messages of a template run). It takes message 0x8000:
//   0  clear the output text;
//   1  show the text (lParam: const std::string*), showing the bar when the
//      text is not empty;
//   2  end of a load: with no run result, clear the text and the template
//      name and disable the details button.
#pragma once

#include <string>

#include "framework/CDialogBar.h"
#include "framework/Handles.h"

class CMsgWnd : public CDialogBar {
public:
    static constexpr UINT kMessage = WM_APP;  // 0x8000

    CMsgWnd();
    bool Create(HWND frame, UINT barId) override;
    std::string OutputText() const;
    void OnDockStateChanged(bool floating, bool vertical) override;

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Layout();
    void SetOutputText(const std::string& text);

    UniqueFont font_;
    HWND output_ = nullptr;
    HWND frame_ = nullptr;
};
