// The system's Explorer-style open and save dialogs. The filter is written
// "name|pattern|name|pattern|" as in the editor's texts. Derived dialogs may
// react to a change of file type and to the confirmed name.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

class CFileDialog {
public:
    // nameBufferSize: the characters the dialog may return (several names
    // of a multiple selection share it).
    CFileDialog(bool open, const std::string& fileName, DWORD flags, const std::string& filter, HWND owner,
                std::size_t nameBufferSize = 4 * MAX_PATH);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // True when the user confirmed a name.
    bool DoModal();

    std::string GetPathName() const;
    // Every chosen file; one name for a single selection.
    std::vector<std::string> GetPathNames() const;
    int filterIndex() const { return static_cast<int>(ofn_.nFilterIndex); }
    void SetFilterIndex(int index) { ofn_.nFilterIndex = static_cast<DWORD>(index); }
    void SetInitialFolder(const std::string& folder) { initialFolder_ = folder; }
    void SetTitle(const std::string& title) { title_ = title; }
    bool IsOpenDialog() const { return open_; }

    // The "name|pattern|" filter as the system wants it (zeros between).
    static std::string SystemFilter(const std::string& filter);

protected:
    virtual void OnTypeChange() {}
    // False keeps the dialog open.
    virtual bool OnFileNameOK() { return true; }

    // While the dialog runs: its window, the file-name box and the folder.
    HWND DialogWindow() const { return hook_ ? GetParent(hook_) : nullptr; }
    std::string FileNameText() const;
    void SetFileNameText(const std::string& name) const;
    std::string CurrentFolder() const;

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    bool open_;
    OPENFILENAMEA ofn_{};
    std::vector<char> names_;
    std::string filter_;
    std::string initialFolder_;
    std::string title_;
    HWND hook_ = nullptr;
};
