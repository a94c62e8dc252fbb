#include "frame/CTavFileDialog.h"

#include "framework/Strings.h"

CTavFileDialog::CTavFileDialog(bool open, const std::string& fileName, DWORD flags, const std::string& filter,
                               std::string* rememberedFolder, HWND owner, std::size_t nameBufferSize)
    : CFileDialog(open, fileName, flags, filter, owner, nameBufferSize), rememberedFolder_(rememberedFolder) {
    if (rememberedFolder_ && !rememberedFolder_->empty()) SetInitialFolder(*rememberedFolder_);
}

std::string CTavFileDialog::NameForType(const std::string& name, bool firstType, std::string& appended) {
    std::string extension = text::ExtensionOf(name);
    if (!extension.empty()) extension.erase(0, 1);  // without the dot
    if (firstType) {
        if (!name.empty() && extension != "txt") {
            appended = "txt";
            return name + ".txt";
        }
        return name;
    }
    std::string result = name;
    if (!appended.empty() && extension == appended) result.resize(name.size() - appended.size() - 1);
    appended.clear();
    return result;
}

void CTavFileDialog::OnTypeChange() {
    if (IsOpenDialog()) return;
    std::string name = FileNameText();
    std::string changed = NameForType(name, filterIndex() == 1, appended_);
    if (changed != name) SetFileNameText(changed);
}

bool CTavFileDialog::OnFileNameOK() {
    if (rememberedFolder_) *rememberedFolder_ = CurrentFolder();
    return true;
}
