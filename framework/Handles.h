// Thin owners for system handles, so that no path through the editor's code
// leaks a file, key, GDI object, memory block or window. Each owner closes
// its handle in its destructor and can be moved but not copied.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Traits>
class UniqueHandleOf {
public:
    using Type = typename Traits::Type;

    UniqueHandleOf() = default;
    explicit UniqueHandleOf(Type value) : value_(value) {}
    ~UniqueHandleOf() { reset(); }
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : value_(other.release()) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return Traits::Valid(value_); }
    Type release() {
        Type v = value_;
        value_ = Traits::Null();
        return v;
    }
    void reset(Type value = Traits::Null()) {
        if (Traits::Valid(value_)) Traits::Close(value_);
        value_ = value;
    }
    // For APIs that return the handle through a pointer.
    Type* receive() {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Null();
};

// Kernel objects whose "no handle" is NULL (mutex, process, mapping).
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
// Files, whose "no handle" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Null() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Null() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
template <typename T>
struct GdiTraits {
    using Type = T;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { ImageList_Destroy(h); }
};
struct DcTraits {
    using Type = HDC;
    static Type Null() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

using UniqueHandle = UniqueHandleOf<KernelHandleTraits>;
using UniqueFile = UniqueHandleOf<FileHandleTraits>;
using UniqueFind = UniqueHandleOf<FindHandleTraits>;
using UniqueKey = UniqueHandleOf<RegKeyTraits>;
using UniqueFont = UniqueHandleOf<GdiTraits<HFONT>>;
using UniqueBitmap = UniqueHandleOf<GdiTraits<HBITMAP>>;
using UniqueGlobal = UniqueHandleOf<GlobalTraits>;
using UniqueWindow = UniqueHandleOf<WindowTraits>;
using UniqueImageList = UniqueHandleOf<ImageListTraits>;
using UniqueDc = UniqueHandleOf<DcTraits>;

// A window's device context, released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the old one back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Locks a global memory block for the scope.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    ~LockedGlobal() {
        if (p_) GlobalUnlock(h_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* get() const { return p_; }

private:
    HGLOBAL h_;
    void* p_;
};

// Shows the wait cursor for the scope.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};
