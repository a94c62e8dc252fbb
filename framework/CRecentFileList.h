// The recent-file list: the last files opened or saved, newest first, kept in
// the settings store ("Recent File List", "File1".."FileN") and shown on the
// File menu in place of the first recent-file command.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CSettingsStore;

class CRecentFileList {
public:
    CRecentFileList(unsigned firstCommand, std::size_t capacity);

    void Load(const CSettingsStore& store);
    void Save(const CSettingsStore& store) const;

    // Puts the path first; an equal entry (any case) moves up.
    void Add(const std::string& path);
    void Remove(std::size_t index);
    std::size_t size() const { return paths_.size(); }
    const std::string& operator[](std::size_t index) const { return paths_[index]; }
    // The entry behind a recent-file command, or null.
    const std::string* ForCommand(unsigned id) const;

    // Rewrites the recent-file items of a menu that holds the first command
    // (or earlier entries of this list): "&1 path" ... in order, or the one
    // disabled first command with the placeholder text when the list is empty.
    void UpdateMenu(HMENU menu, const std::string& emptyText) const;

private:
    unsigned firstCommand_;
    std::size_t capacity_;
    std::vector<std::string> paths_;
};
