#include "document/CSingleInstance.h"

#include <shlobj.h>

#include <cstring>

#include "framework/CFrameWnd.h"

bool CSingleInstance::Claim() {
    mutex_.reset(CreateMutexA(nullptr, TRUE, name_.c_str()));
    return !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

HWND CSingleInstance::FindFirstInstance() const {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetPropA(w, name_.c_str())) return w;
    }
    return nullptr;
}

void CSingleInstance::Mark(HWND window) const { SetPropA(window, name_.c_str(), reinterpret_cast<HANDLE>(1)); }

std::string CSingleInstance::BuildDropBlock(const std::vector<std::string>& files) {
    std::size_t size = 22;
    for (const auto& f : files) size += f.size() + 2;
    std::string block(size, '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);  // 20: the names follow the header
    std::memcpy(&block[0], &header, sizeof header);
    std::size_t at = sizeof(DROPFILES);
    for (const auto& f : files) {
        std::memcpy(&block[at], f.c_str(), f.size());
        at += f.size() + 1;
    }
    return block;
}

void CSingleInstance::HandOver(HWND window, const std::vector<std::string>& files) const {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    HWND popup = GetLastActivePopup(window);
    if (popup && popup != window) SetForegroundWindow(popup);
    // The first instance takes a bounded number of names per hand-over;
    // more files go in several. A name longer than any path cannot name a
    // file and is not sent.
    std::vector<std::string> batch;
    auto send = [&] {
        if (batch.empty()) return;
        std::string block = BuildDropBlock(batch);
        COPYDATASTRUCT data{};
        data.dwData = CFrameWnd::kDroppedFilesData;
        data.cbData = static_cast<DWORD>(block.size());
        data.lpData = &block[0];
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &result);
        batch.clear();
    };
    for (const auto& file : files) {
        if (file.empty() || file.size() > CFrameWnd::kMaxHandedName) continue;
        batch.push_back(file);
        if (batch.size() == CFrameWnd::kMaxHandedFiles) send();
    }
    send();
}
