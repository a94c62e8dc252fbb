#include "framework/CSafeSaveFile.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/CFileException.h"
#include "framework/Handles.h"
#include "framework/Strings.h"

namespace {

constexpr char kSuffix[] = ".prmsave";
// Longest file name the system takes for one path component.
constexpr std::size_t kComponentLimit = 255;

std::string& JournalKeyStore() {
    static std::string key;
    return key;
}

[[noreturn]] void Fail(DWORD code, const std::string& path) {
    throw CFileException(CFileException::CauseOf(code), code, path);
}

// What tells one file from every other on the system, whatever its names.
struct FileId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

bool Identify(HANDLE h, FileId* id, DWORD* links = nullptr, FILETIME* created = nullptr) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) return false;
    id->volume = info.dwVolumeSerialNumber;
    id->high = info.nFileIndexHigh;
    id->low = info.nFileIndexLow;
    if (links) *links = info.nNumberOfLinks;
    if (created) *created = info.ftCreationTime;
    return true;
}

// A handle for looking at a file (never for its data), following links.
UniqueFile OpenToLook(const std::string& path) {
    return UniqueFile(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path of the file a handle has open, with every symbolic link along
// the way resolved; empty when the system cannot say.
std::string FinalPathOf(HANDLE h) {
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD n = GetFinalPathNameByHandleA(h, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
        if (n == 0) return std::string();
        if (n < buffer.size()) {
            std::string path(buffer.data(), n);
            if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\\\" + path.substr(8);
            if (path.compare(0, 4, "\\\\?\\") == 0) return path.substr(4);
            return path;
        }
        buffer.resize(n + 1);  // n counts the terminator when the buffer was short
    }
    return std::string();
}

// Refuses a target that cannot be replaced, before anything is written.
// False when there is no such file yet.
bool CheckTarget(const std::string& target) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return false;  // a new file
        Fail(code, target);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(ERROR_ACCESS_DENIED, target);
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        throw CFileException(CFileException::Cause::ReadOnly, ERROR_ACCESS_DENIED, target);
    }
    // Another program that holds the file without sharing it keeps us from
    // replacing it; find out now rather than after the whole conversion.
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail(GetLastError(), target);
    CloseHandle(h);
    return true;
}

// True when the file exists and cannot be opened for deleting because
// another program holds it.
bool IsHeldByAnother(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The file name cut to at most limit bytes without splitting a double-byte
// character.
std::string CutName(const std::string& name, std::size_t limit) {
    std::size_t n = 0;
    while (n < name.size()) {
        std::size_t width = (IsDBCSLeadByte(static_cast<BYTE>(name[n])) && n + 1 < name.size()) ? 2 : 1;
        if (n + width > limit) break;
        n += width;
    }
    return name.substr(0, n);
}

std::string Hex8(DWORD value) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX", static_cast<unsigned long>(value));
    return digits;
}

FILETIME ProcessStart(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return created;
}

// --- the journal: one registry value per temporary file ---------------------
//
// Value name: the temporary file's path. Data (text):
//   state|pid|start high|start low|volume|index high|index low|
//   destination volume|index high|index low|destination path
// state N: the name is taken and the file about to be created; the
// identity fields hold the time of the entry instead. Its file, if the
// editor made it, was empty when the editor died (content is written only
// after the entry becomes W), and was created after the entry.
// state W: the temporary file is being written (or was abandoned) and is
// only to be removed. state C: it holds the complete new content of a file
// that is being rewritten in place; a cut-off copy is finished from it.

struct JournalEntry {
    char state = 'W';
    DWORD pid = 0;
    FILETIME start{};
    FileId temporary, destination;
    std::string destinationPath;
};

std::string Encode(const JournalEntry& e) {
    char head[160];
    std::snprintf(head, sizeof head, "%c|%lu|%lu|%lu|%lu|%lu|%lu|%lu|%lu|%lu|", e.state,
                  static_cast<unsigned long>(e.pid), static_cast<unsigned long>(e.start.dwHighDateTime),
                  static_cast<unsigned long>(e.start.dwLowDateTime), static_cast<unsigned long>(e.temporary.volume),
                  static_cast<unsigned long>(e.temporary.high), static_cast<unsigned long>(e.temporary.low),
                  static_cast<unsigned long>(e.destination.volume), static_cast<unsigned long>(e.destination.high),
                  static_cast<unsigned long>(e.destination.low));
    return head + e.destinationPath;
}

bool Decode(const std::string& text, JournalEntry* e) {
    if (text.size() < 2 || (text[0] != 'W' && text[0] != 'C' && text[0] != 'N') || text[1] != '|') return false;
    e->state = text[0];
    unsigned long f[9];
    std::size_t at = 2;
    for (unsigned long& field : f) {
        std::size_t bar = text.find('|', at);
        if (bar == std::string::npos || bar == at || bar - at > 10) return false;
        field = 0;
        for (std::size_t i = at; i < bar; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            field = field * 10 + static_cast<unsigned long>(text[i] - '0');
        }
        at = bar + 1;
    }
    e->pid = f[0];
    e->start.dwHighDateTime = f[1];
    e->start.dwLowDateTime = f[2];
    e->temporary = FileId{f[3], f[4], f[5]};
    e->destination = FileId{f[6], f[7], f[8]};
    e->destinationPath = text.substr(at);
    return !e->destinationPath.empty();
}

UniqueKey OpenJournal(bool create) {
    UniqueKey key;
    const std::string& path = JournalKeyStore();
    if (path.empty()) return key;
    LONG r = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                      key.receive(), nullptr)
                    : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WRITE, key.receive());
    if (r != ERROR_SUCCESS) key.release();
    return key;
}

void Record(const std::string& temporary, const JournalEntry& entry) {
    UniqueKey key = OpenJournal(true);
    if (!key) return;
    std::string data = Encode(entry);
    RegSetValueExA(key.get(), temporary.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
}

void Forget(const std::string& temporary) {
    UniqueKey key = OpenJournal(false);
    if (key) RegDeleteValueA(key.get(), temporary.c_str());
}

bool OwnerRuns(const JournalEntry& e) {
    if (e.pid == GetCurrentProcessId()) {
        FILETIME mine = ProcessStart(GetCurrentProcess());
        if (CompareFileTime(&mine, &e.start) == 0) return true;
    }
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, e.pid));
    if (!process) return false;
    if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) return false;
    FILETIME start = ProcessStart(process.get());
    return CompareFileTime(&start, &e.start) == 0;
}

// Copies the whole content of from over to: to's space is claimed first,
// so that running out of it changes nothing; then the bytes, the end and a
// flush. *touched tells whether a failure came after to began to change.
bool CopyContent(HANDLE from, HANDLE to, DWORD* error, bool* touched = nullptr) {
    bool changed = false;
    if (touched == nullptr) touched = &changed;
    *touched = false;
    LARGE_INTEGER size{}, zero{};
    if (!GetFileSizeEx(from, &size) || !SetFilePointerEx(from, zero, nullptr, FILE_BEGIN)) {
        *error = GetLastError();
        return false;
    }
    LARGE_INTEGER old{};
    if (!GetFileSizeEx(to, &old)) {
        *error = GetLastError();
        return false;
    }
    if (size.QuadPart > old.QuadPart) {
        if (!SetFilePointerEx(to, size, nullptr, FILE_BEGIN) || !SetEndOfFile(to)) {
            *error = GetLastError();
            // Give back what was claimed; the content is untouched.
            SetFilePointerEx(to, old, nullptr, FILE_BEGIN);
            SetEndOfFile(to);
            return false;
        }
    }
    if (!SetFilePointerEx(to, zero, nullptr, FILE_BEGIN)) {
        *error = GetLastError();
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            *error = GetLastError();
            return false;
        }
        if (got == 0) break;
        *touched = true;
        DWORD wrote = 0;
        if (!WriteFile(to, buffer.data(), got, &wrote, nullptr) || wrote != got) {
            *error = wrote != got ? ERROR_DISK_FULL : GetLastError();
            return false;
        }
    }
    if (!SetFilePointerEx(to, size, nullptr, FILE_BEGIN) || !SetEndOfFile(to) || !FlushFileBuffers(to)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

// Finishes an in-place rewrite from its complete temporary file, when the
// destination is still the file the entry recorded.
bool FinishRewrite(HANDLE temporary, const JournalEntry& e) {
    UniqueFile target(CreateFileA(e.destinationPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) return GetLastError() == ERROR_FILE_NOT_FOUND;  // the file itself is gone: nothing to finish
    FileId id;
    if (!Identify(target.get(), &id) || !(id == e.destination)) return true;  // another file now: leave it alone
    DWORD error = 0;
    return CopyContent(temporary, target.get(), &error);
}

// Copies the replaced file's identity onto the file that replaces it: the
// marks that stay with a file, its creation time, its owner, group and
// access list, and its alternate data streams. Each is copied as far as the
// system allows; none of them may stop the save.
void CopyIdentity(const std::string& from, const std::string& to, const FILETIME& created) {
    // The replaced file's hidden, system and not-indexed marks stay with it;
    // as a changed file it is marked for the next backup.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD old = GetFileAttributesA(from.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKept)) {
        SetFileAttributesA(to.c_str(), (old & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    }

    {
        UniqueFile h(CreateFileA(to.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (h) SetFileTime(h.get(), &created, nullptr, nullptr);
    }

    // Only a description that differs from the new file's own is written:
    // setting an equal one changes nothing, and on systems that map it onto
    // other permissions it could only lose detail.
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    auto read = [&](const std::string& path, std::vector<BYTE>* sd) {
        DWORD need = 0;
        GetFileSecurityA(path.c_str(), what, nullptr, 0, &need);
        if (need == 0) return false;
        sd->assign(need, 0);
        return GetFileSecurityA(path.c_str(), what, sd->data(), need, &need) != FALSE;
    };
    std::vector<BYTE> oldSd, newSd;
    if (read(from, &oldSd) && (!read(to, &newSd) || oldSd != newSd)) {
        // Setting the owner takes a privilege an ordinary user may lack; the
        // group and access list are still worth keeping then.
        if (!SetFileSecurityA(to.c_str(), what, oldSd.data())) {
            SetFileSecurityA(to.c_str(), GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, oldSd.data());
        }
    }

    // Alternate data streams ("name:stream:$DATA"); the unnamed stream is
    // the content itself.
    int wide = MultiByteToWideChar(CP_ACP, 0, from.c_str(), -1, nullptr, 0);
    if (wide <= 0) return;
    std::wstring fromW(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, from.c_str(), -1, &fromW[0], wide);
    fromW.resize(static_cast<std::size_t>(wide - 1));
    wide = MultiByteToWideChar(CP_ACP, 0, to.c_str(), -1, nullptr, 0);
    if (wide <= 0) return;
    std::wstring toW(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, to.c_str(), -1, &toW[0], wide);
    toW.resize(static_cast<std::size_t>(wide - 1));
    WIN32_FIND_STREAM_DATA stream{};
    HANDLE find = FindFirstStreamW(fromW.c_str(), FindStreamInfoStandard, &stream, 0);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = stream.cStreamName;
        if (name == L"::$DATA" || name.empty() || name[0] != L':') continue;
        UniqueFile in(CreateFileW((fromW + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        UniqueFile out(CreateFileW((toW + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                   nullptr));
        DWORD error = 0;
        if (in && out) CopyContent(in.get(), out.get(), &error);
    } while (FindNextStreamW(find, &stream));
    FindClose(find);
}

}  // namespace

void CSafeSaveFile::SetJournalKey(const std::string& key) { JournalKeyStore() = key; }
const std::string& CSafeSaveFile::JournalKey() { return JournalKeyStore(); }

bool CSafeSaveFile::IsTemporaryName(const std::string& name) {
    const std::size_t suffix = sizeof kSuffix - 1;
    // "~" + at least one character + "." + 8 digits + suffix
    if (name.size() < 1 + 1 + 1 + 8 + suffix || name[0] != '~') return false;
    if (!text::EqualNoCase(name.substr(name.size() - suffix), kSuffix)) return false;
    const std::size_t dot = name.size() - suffix - 9;
    if (name[dot] != '.') return false;
    for (std::size_t i = dot + 1; i < dot + 9; ++i) {
        char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

int CSafeSaveFile::CleanUpAbandoned(const std::string& destination) {
    UniqueKey key = OpenJournal(false);
    if (!key) return 0;
    struct Item {
        std::string temporary;
        JournalEntry entry;
        bool valid;
    };
    std::vector<Item> items;
    for (DWORD i = 0;; ++i) {
        char name[32768];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD dataLength = 0;
        LONG r = RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &dataLength);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) continue;
        Item item{std::string(name, nameLength), JournalEntry{}, false};
        if (type == REG_SZ && dataLength > 0 && dataLength < 65536) {
            std::vector<char> data(dataLength + 1, '\0');
            DWORD got = dataLength;
            nameLength = sizeof name;
            if (RegQueryValueExA(key.get(), item.temporary.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                 &got) == ERROR_SUCCESS) {
                item.valid = Decode(std::string(data.data()), &item.entry);
            }
        }
        items.push_back(item);
    }
    int removed = 0;
    for (const Item& item : items) {
        if (!item.valid) {
            // Nothing in it can prove a file ours: the entry goes, no file.
            RegDeleteValueA(key.get(), item.temporary.c_str());
            continue;
        }
        const JournalEntry& e = item.entry;
        if (!destination.empty() && !text::EqualNoCase(e.destinationPath, destination)) continue;
        if (OwnerRuns(e)) continue;
        if (!IsTemporaryName(text::FileNameOf(item.temporary))) {
            RegDeleteValueA(key.get(), item.temporary.c_str());
            continue;
        }
        UniqueFile file(CreateFileA(item.temporary.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file) {
            DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
                RegDeleteValueA(key.get(), item.temporary.c_str());
            }
            continue;  // held by someone: try again next time
        }
        FileId id;
        FILETIME created{};
        LARGE_INTEGER size{};
        if (e.state == 'N') {
            // Only the empty file made after the entry can be the one the
            // editor was creating.
            // File times may lag the system clock by a tick; two seconds
            // of leeway.
            ULARGE_INTEGER at{};
            at.LowPart = e.temporary.low;
            at.HighPart = e.temporary.high;
            at.QuadPart -= 2ull * 10000000ull;
            const FILETIME entered{at.LowPart, at.HighPart};
            if (!Identify(file.get(), &id, nullptr, &created) || !GetFileSizeEx(file.get(), &size) ||
                size.QuadPart != 0 || CompareFileTime(&created, &entered) < 0) {
                RegDeleteValueA(key.get(), item.temporary.c_str());
                continue;
            }
        } else if (!Identify(file.get(), &id) || !(id == e.temporary)) {
            // Some other file has that name now; it is not ours to remove.
            RegDeleteValueA(key.get(), item.temporary.c_str());
            continue;
        }
        if (e.state == 'C' && !FinishRewrite(file.get(), e)) continue;  // keep the content for another try
        file.reset();
        if (DeleteFileA(item.temporary.c_str())) {
            ++removed;
            RegDeleteValueA(key.get(), item.temporary.c_str());
        }
    }
    return removed;
}

CSafeSaveFile::CSafeSaveFile(const std::string& target) : target_(target), destination_(target) {
    exists_ = CheckTarget(target);
    DWORD links = 1;
    if (exists_) {
        UniqueFile look = OpenToLook(target);
        if (look) {
            std::string final = FinalPathOf(look.get());
            if (!final.empty()) destination_ = final;
            FileId id;
            Identify(look.get(), &id, &links);
        }
    }
    inPlace_ = exists_ && links > 1;
    // Litter of an earlier save of this file whose editor died goes first.
    CleanUpAbandoned(destination_);
    std::string folder = text::FolderOf(destination_);
    if (folder.empty()) folder = ".";
    CreateTemporary(folder);
    file_.SetReportedPath(target);
}

void CSafeSaveFile::CreateTemporary(const std::string& folder) {
    static volatile LONG counter = 0;
    const std::string name = text::FileNameOf(destination_);
    const std::string stem = "~" + CutName(name, kComponentLimit - 1 - 9 - (sizeof kSuffix - 1)) + ".";
    const std::string base = (folder.size() == 2 && folder[1] == ':') ? folder : folder + "\\";
    for (int attempt = 0;; ++attempt) {
        const DWORD number = ((GetCurrentProcessId() & 0xFFFF) << 16) |
                             (static_cast<DWORD>(InterlockedIncrement(&counter)) & 0xFFFF);
        temporary_ = base + stem + Hex8(number) + kSuffix;
        // The name goes into the journal before the file exists, so that no
        // moment leaves a file of the editor's that the journal does not
        // know.
        JournalEntry taken;
        taken.state = 'N';
        taken.pid = GetCurrentProcessId();
        taken.start = ProcessStart(GetCurrentProcess());
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        taken.temporary = FileId{0, now.dwHighDateTime, now.dwLowDateTime};
        taken.destinationPath = destination_;
        Record(temporary_, taken);
        try {
            file_ = CFile(temporary_, CFile::Mode::CreateUnique);
            break;
        } catch (const CFileException& e) {
            Forget(temporary_);
            if ((e.code() != ERROR_FILE_EXISTS && e.code() != ERROR_ALREADY_EXISTS) || attempt >= 64) {
                temporary_.clear();
                Fail(e.code(), target_);
            }
        }
    }
    JournalEntry entry;
    entry.state = 'W';
    entry.pid = GetCurrentProcessId();
    entry.start = ProcessStart(GetCurrentProcess());
    Identify(file_.handle(), &entry.temporary);
    entry.destinationPath = destination_;
    if (inPlace_) {
        UniqueFile look = OpenToLook(destination_);
        if (look) Identify(look.get(), &entry.destination);
    }
    Record(temporary_, entry);
}

CSafeSaveFile::~CSafeSaveFile() {
    if (committed_ || temporary_.empty() || keepForRecovery_) return;
    if (file_.IsOpen()) {
        try {
            file_.Close();
        } catch (...) {
            // The temporary file goes away below in any case.
        }
    }
    if (DeleteFileA(temporary_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) Forget(temporary_);
}

void CSafeSaveFile::Commit() {
    if (!FlushFileBuffers(file_.handle())) Fail(GetLastError(), target_);
    if (inPlace_) {
        RewriteInPlace();
    } else {
        file_.Close();
        ReplaceByRename();
    }
    committed_ = true;
}

void CSafeSaveFile::ReplaceByRename() {
    if (exists_) {
        UniqueFile look = OpenToLook(destination_);
        FILETIME created{};
        FileId id;
        if (look && Identify(look.get(), &id, nullptr, &created)) {
            look.reset();
            CopyIdentity(destination_, temporary_, created);
        }
    }
    if (!MoveFileExA(temporary_.c_str(), destination_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        // A target that another program holds open is refused as "access
        // denied"; say that it is in use when that is why.
        if (code == ERROR_ACCESS_DENIED && IsHeldByAnother(destination_)) code = ERROR_SHARING_VIOLATION;
        Fail(code, target_);
    }
    Forget(temporary_);
}

void CSafeSaveFile::RewriteInPlace() {
    UniqueFile target(CreateFileA(destination_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) Fail(GetLastError(), target_);
    JournalEntry entry;
    entry.state = 'C';
    entry.pid = GetCurrentProcessId();
    entry.start = ProcessStart(GetCurrentProcess());
    Identify(file_.handle(), &entry.temporary);
    Identify(target.get(), &entry.destination);
    entry.destinationPath = destination_;
    // From here on the temporary file is the content the file must end up
    // with, whatever happens to this process.
    Record(temporary_, entry);
    DWORD error = 0;
    bool touched = false;
    if (!CopyContent(file_.handle(), target.get(), &error, &touched)) {
        // Refused before any byte changed: the file is as it was and the
        // temporary file goes as after any failed save. Cut off in the
        // middle: the temporary file stays for the next start to finish the
        // copy from.
        if (touched) {
            keepForRecovery_ = true;
        } else {
            entry.state = 'W';
            Record(temporary_, entry);
        }
        Fail(error, target_);
    }
    target.reset();
    DWORD attributes = GetFileAttributesA(destination_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(destination_.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
    try {
        file_.Close();
    } catch (...) {
        // The content is in place; only the temporary file is left to remove.
    }
    if (DeleteFileA(temporary_.c_str())) Forget(temporary_);
}
