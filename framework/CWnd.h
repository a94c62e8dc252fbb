// Base of the editor's own windows: holds the window handle and sends every
// message to the virtual WindowProc, where each window class dispatches to
// named handlers with a switch. The object is found from the handle through
// the window's user data, which the creation message sets.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND hwnd() const { return hwnd_; }
    static CWnd* FromHandle(HWND hwnd);

    // The procedure every window class of the editor registers. It passes
    // `this` through the creation parameter.
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Creates a window of a class registered with StaticWindowProc.
    bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int cx, int cy,
                  HWND parent, HMENU menuOrId);

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    // Last message of the window; the handle is gone afterwards. A window
    // object that owns itself deletes itself here.
    virtual void PostNcDestroy() {}

    // Registers a window class once per process.
    static bool RegisterClassOnce(const char* className, UINT style, HICON icon, HBRUSH background);

private:
    HWND hwnd_ = nullptr;
};
