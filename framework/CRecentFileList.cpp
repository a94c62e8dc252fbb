#include "framework/CRecentFileList.h"

#include <algorithm>

#include "framework/CSettingsStore.h"
#include "framework/Strings.h"

namespace {
const char kSection[] = "Recent File List";
}

CRecentFileList::CRecentFileList(unsigned firstCommand, std::size_t capacity)
    : firstCommand_(firstCommand), capacity_(capacity) {}

void CRecentFileList::Load(const CSettingsStore& store) {
    paths_.clear();
    for (std::size_t i = 0; i < capacity_; ++i) {
        std::string path = store.GetString(kSection, text::Format("File%u", static_cast<unsigned>(i + 1)), "");
        if (!path.empty()) paths_.push_back(path);
    }
}

void CRecentFileList::Save(const CSettingsStore& store) const {
    for (std::size_t i = 0; i < capacity_; ++i) {
        std::string entry = text::Format("File%u", static_cast<unsigned>(i + 1));
        if (i < paths_.size()) {
            store.WriteString(kSection, entry, paths_[i]);
        } else {
            store.DeleteValue(kSection, entry);
        }
    }
}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    auto same = std::find_if(paths_.begin(), paths_.end(),
                             [&](const std::string& p) { return text::EqualNoCase(p, path); });
    if (same != paths_.end()) paths_.erase(same);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void CRecentFileList::Remove(std::size_t index) {
    if (index < paths_.size()) paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
}

const std::string* CRecentFileList::ForCommand(unsigned id) const {
    if (id < firstCommand_ || id >= firstCommand_ + paths_.size()) return nullptr;
    return &paths_[id - firstCommand_];
}

void CRecentFileList::UpdateMenu(HMENU menu, const std::string& emptyText) const {
    // Find where the list sits: the first item with one of our commands.
    int count = GetMenuItemCount(menu);
    int first = -1;
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id >= firstCommand_ && id < firstCommand_ + capacity_) {
            first = i;
            break;
        }
    }
    if (first < 0) return;
    for (unsigned id = firstCommand_; id < firstCommand_ + capacity_; ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
    if (paths_.empty()) {
        InsertMenuA(menu, static_cast<UINT>(first), MF_BYPOSITION | MF_STRING | MF_GRAYED, firstCommand_,
                    emptyText.c_str());
        return;
    }
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        // An ampersand in a path would become a mnemonic: double it.
        std::string shown;
        for (char c : paths_[i]) {
            shown += c;
            if (c == '&') shown += '&';
        }
        std::string item = text::Format("&%u %s", static_cast<unsigned>(i + 1), shown.c_str());
        InsertMenuA(menu, static_cast<UINT>(first + static_cast<int>(i)), MF_BYPOSITION | MF_STRING,
                    firstCommand_ + static_cast<UINT>(i), item.c_str());
    }
}
