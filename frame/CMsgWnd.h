// The output bar: the template name, the details button and a read-only
// output text that shows the document's conversion errors or the messages
// of a template run. It takes message 0x8000:
//   0  clear the output text;
//   1  show the text (lParam: const std::string*), showing the bar when the
//      text is not empty;
//   2  with the script engine: the result of a template run (the messages
//      it collected, once, and the template's name and version); with
//      null: the end of a load without template, clearing text and name.
// A pointer parameter is taken only from the frame that announced it
// (Expect), never from a message another program sends.
#pragma once

#include <string>

#include <richedit.h>

#include "framework/CDialogBar.h"
#include "framework/Handles.h"

class CScriptEngine;

class CMsgWnd : public CDialogBar {
public:
    static constexpr UINT kMessage = WM_APP;  // 0x8000

    CMsgWnd();
    bool Create(HWND frame, UINT barId) override;
    std::string OutputText() const;
    // The parameter of the next 0x8000 the frame sends.
    void Expect(LPARAM parameter) { expected_ = parameter; }
    void OnDockStateChanged(bool floating, bool vertical) override;

protected:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Layout();
    void SetOutputText(const std::string& text);
    void ShowRunResult(const CScriptEngine& engine);
    void ShowDetails();
    void AppendText(const std::string& text, bool link = false);
    void OpenLink(const ENLINK& link);

    UniqueFont font_;
    HWND output_ = nullptr;
    HWND frame_ = nullptr;
    LPARAM expected_ = 0;
};
