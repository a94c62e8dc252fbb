// One editor per user session: the first instance owns a named mutex and
// marks its main window with a window property; a later instance finds that
// window, brings it forward and hands its command-line files over in the
// system's dropped-files format, then ends.
//
// The files travel as WM_COPYDATA, which the system copies into the other
// process; the receiving frame turns them into its own dropped-files
// message. A dropped-files message posted from here would carry a memory
// handle that means nothing in the other process, and the files would be
// lost.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handles.h"

class CSingleInstance {
public:
    explicit CSingleInstance(const std::string& name) : name_(name) {}

    // True when this is the first instance (it keeps the mutex).
    bool Claim();
    // The first instance's marked window, or null.
    HWND FindFirstInstance() const;
    // Brings the window forward and hands it the files as dropped files,
    // in as many blocks as the receiver's limits ask for (see
    // CFrameWnd::ReadHandedFiles).
    void HandOver(HWND window, const std::vector<std::string>& files) const;
    // Marks a window as this instance's.
    void Mark(HWND window) const;

    // The dropped-files block for the names: a 20-byte header whose first
    // field is the offset 20 of the names, each name zero-terminated, a
    // final empty name; 22 + the sum of (name length + 2) bytes, zeroed.
    static std::string BuildDropBlock(const std::vector<std::string>& files);

private:
    std::string name_;
    UniqueHandle mutex_;
};
