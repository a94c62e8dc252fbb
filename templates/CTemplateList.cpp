#include "templates/CTemplateList.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "templates/CScriptEngine.h"
#include "templates/core/ListFileReader.h"
#include "templates/core/ListFileText.h"
#include "templates/core/TextListFile.h"
#include "templates/core/TemplateListFormat.h"

using namespace template_list;

namespace {

constexpr char kListFileName[] = "TemplateList.txt";

// The list file read through a Win32 handle.
class HandleListFile : public IListFile {
public:
    explicit HandleListFile(HANDLE file) : file_(file) {}
    std::size_t Read(void* buffer, std::size_t size) override {
        DWORD got = 0;
        if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
        return got;
    }
    bool SeekBack(std::size_t count) override {
        LARGE_INTEGER distance;
        distance.QuadPart = -static_cast<LONGLONG>(count);
        return SetFilePointerEx(file_, distance, nullptr, FILE_CURRENT) != 0;
    }

private:
    HANDLE file_;
};

// Calls visit(fullPath, findData) for every entry of the folder (given
// without its trailing backslash) except "." and "..", in the order the
// file system returns them. visit returns false to stop; so does this.
// An entry whose full path would not fit a path buffer is passed over, as
// is a folder whose search pattern would not fit.
template <typename Visit>
bool ForEachEntry(const std::string& folder, Visit visit) {
    const std::string pattern = folder + "\\*";
    if (pattern.size() >= kPathSize) return true;
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA(pattern.c_str(), &data));
    if (!find) return true;
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
        const std::string full = folder + "\\" + data.cFileName;
        if (full.size() >= kPathSize) continue;
        if (!visit(full, data)) return false;
    } while (FindNextFileA(find.get(), &data));
    return true;
}

bool IsFolder(const WIN32_FIND_DATAA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// A template found by a walk of the tree: a file with a template extension.
bool IsTemplateFile(const std::string& fullPath, const WIN32_FIND_DATAA& data) {
    return !IsFolder(data) && HasTemplateExtension(fullPath);
}

// True when a template below the folder was written after the time.
bool HasNewerTemplate(const std::string& folder, const FILETIME& listTime) {
    return !ForEachEntry(folder, [&](const std::string& full, const WIN32_FIND_DATAA& data) {
        if (IsFolder(data)) return !HasNewerTemplate(full, listTime);
        return !(IsTemplateFile(full, data) && CompareFileTime(&data.ftLastWriteTime, &listTime) > 0);
    });
}

// The library folder without its trailing backslash: the top of the tree.
std::string TreeTop(const std::string& libraryFolder) {
    return libraryFolder.substr(0, libraryFolder.size() - 1);
}

bool WriteAll(HANDLE file, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(text.size() - done);
        if (!WriteFile(file, text.data() + done, size, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool CTemplateList::SetLibraryFolder(const std::string& folder) {
    std::string candidate = folder;
    if (!candidate.empty() && !EndsWithSeparator(candidate)) candidate += '\\';
    if (candidate.size() >= kPathSize) return false;
    libraryFolder_ = candidate;
    return true;
}

void CTemplateList::Prepare() {
    if (IsTemplateListStale()) {
        ScanTemplates();
        if (!WriteTemplateList()) {
            // A library folder the user may not write to (one installed for
            // all users): the templates just scanned are used as the file
            // would have given them, rather than none, and the next start
            // scans again.
            TextListFile scanned(ListFileText(ListTime{}, templateList_));
            templateList_.clear();
            ReadListEntries(scanned, [this](const std::string& path) { return IsUsableTemplate(path); },
                            templateList_);
            BuildOpenFilters();
            return;
        }
    }
    ReadTemplateList();
    BuildOpenFilters();
}

bool CTemplateList::IsTemplateListStale() const {
    const std::string listPath = libraryFolder_ + kListFileName;
    // A list that can never be written is not worth a scan.
    if (listPath.size() >= kPathSize) return false;
    const DWORD attributes = GetFileAttributesA(listPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;

    FILETIME listTime;
    {
        UniqueFile file(CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !GetFileTime(file.get(), nullptr, nullptr, &listTime)) return true;
    }
    // Without a library folder there is no tree to scan, so nothing can
    // make the list out of date.
    if (libraryFolder_.empty()) return false;
    return HasNewerTemplate(TreeTop(libraryFolder_), listTime);
}

void CTemplateList::ScanTemplates(const std::string& folder) {
    std::string current = folder;
    if (current.empty()) {
        templateList_.clear();
        if (libraryFolder_.empty()) return;
        current = TreeTop(libraryFolder_);
    }
    ForEachEntry(current, [&](const std::string& full, const WIN32_FIND_DATAA& data) {
        if (IsFolder(data)) {
            ScanTemplates(full);
        } else if (IsTemplateFile(full, data)) {
            const bool below = full.compare(0, libraryFolder_.size(), libraryFolder_) == 0;
            const std::string relative = below ? full.substr(libraryFolder_.size()) : full;
            // One byte more than the engine may fill, so the text always ends.
            std::vector<char> extensions(CScriptEngine::kExtensionsSize + 1, '\0');
            const long exitCode = engine_.QueryTemplateInfo(full, extensions.data());
            const std::string declared(extensions.data(), strnlen(extensions.data(), CScriptEngine::kExtensionsSize));
            AppendScannedTemplate(relative, exitCode, declared, templateList_);
        }
        return true;
    });
}

bool CTemplateList::WriteTemplateList() const {
    if (templateList_.empty()) return true;
    const std::string listPath = libraryFolder_ + kListFileName;
    if (listPath.size() >= kPathSize) return false;
    UniqueFile file(CreateFileA(listPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;

    SYSTEMTIME now;
    GetLocalTime(&now);
    ListTime written;
    written.year = now.wYear;
    written.month = now.wMonth;
    written.day = now.wDay;
    written.hour = now.wHour;
    written.minute = now.wMinute;
    written.second = now.wSecond;
    if (!WriteAll(file.get(), ListFileText(written, templateList_))) {
        // A cut list would look up to date and hide the missing entries
        // until a template changes; without a file the next start scans.
        file.reset();
        DeleteFileA(listPath.c_str());
        return false;
    }
    return true;
}

void CTemplateList::ReadTemplateList() {
    templateList_.clear();
    const std::string listPath = libraryFolder_ + kListFileName;
    if (listPath.size() >= kPathSize) return;
    UniqueFile file(
        CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    HandleListFile reader(file.get());
    ReadListEntries(reader, [this](const std::string& path) { return IsUsableTemplate(path); }, templateList_);
}

void CTemplateList::BuildOpenFilters() {
    template_list::BuildOpenFilters(templateList_, extensionList_, extensionPatterns_);
}

bool CTemplateList::IsUsableTemplate(const std::string& templatePath) const {
    if (!HasTemplateExtension(templatePath)) return false;
    std::string full;
    if (!ResolveTemplatePath(libraryFolder_, templatePath, full)) return false;
    const DWORD attributes = GetFileAttributesA(full.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::size_t CTemplateList::FindTemplatesForFile(const std::string& filePath,
                                                std::vector<std::string>& templates) const {
    return template_list::FindTemplatesForFile(templateList_, filePath, templates);
}

std::string CTemplateList::FullPath(const std::string& templatePath) const {
    std::string full;
    ResolveTemplatePath(libraryFolder_, templatePath, full);
    return full;
}
