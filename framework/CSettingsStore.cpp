#include "framework/CSettingsStore.h"

#include <vector>

#include "framework/Handles.h"

namespace {

UniqueKey OpenSection(const std::string& root, const std::string& section, bool create) {
    std::string path = root + "\\" + section;
    UniqueKey key;
    LONG r = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                      key.receive(), nullptr)
                    : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.receive());
    if (r != ERROR_SUCCESS) key.release();
    return key;
}

}  // namespace

void CSettingsStore::SetRoot(const std::string& company, const std::string& application) {
    root_ = "Software\\" + company + "\\" + application;
}

int CSettingsStore::GetInt(const std::string& section, const std::string& entry, int defaultValue) const {
    UniqueKey key = OpenSection(root_, section, false);
    if (!key) return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

bool CSettingsStore::WriteInt(const std::string& section, const std::string& entry, int value) const {
    UniqueKey key = OpenSection(root_, section, true);
    if (!key) return false;
    DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(key.get(), entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) ==
           ERROR_SUCCESS;
}

std::string CSettingsStore::GetString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue) const {
    UniqueKey key = OpenSection(root_, section, false);
    if (!key) return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return defaultValue;
    }
    std::vector<char> buffer(size + 2, 0);
    DWORD got = size;
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS) {
        return defaultValue;
    }
    return std::string(buffer.data());
}

bool CSettingsStore::WriteString(const std::string& section, const std::string& entry,
                                 const std::string& value) const {
    UniqueKey key = OpenSection(root_, section, true);
    if (!key) return false;
    return RegSetValueExA(key.get(), entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool CSettingsStore::DeleteValue(const std::string& section, const std::string& entry) const {
    std::string path = root_ + "\\" + section;
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS) {
        key.release();
        return true;
    }
    LONG r = RegDeleteValueA(key.get(), entry.c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

void CSettingsStore::DeleteAllSections() const {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, root_.c_str(), 0, KEY_READ | KEY_WRITE, key.receive()) != ERROR_SUCCESS) {
        key.release();
        return;
    }
    // Collect the names first: deleting while enumerating shifts the indices.
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    for (const auto& n : names) RegDeleteTreeA(key.get(), n.c_str());
}
