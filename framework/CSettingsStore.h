// Per-user settings: integer and string values in sections below
// HKEY_CURRENT_USER\Software\<company>\<application>. Reads fall back to the
// caller's default when the key or value is missing or of the wrong type.
#pragma once

#include <windows.h>

#include <string>

class CSettingsStore {
public:
    void SetRoot(const std::string& company, const std::string& application);
    // "Software\<company>\<application>"
    const std::string& RootPath() const { return root_; }

    int GetInt(const std::string& section, const std::string& entry, int defaultValue) const;
    bool WriteInt(const std::string& section, const std::string& entry, int value) const;
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& defaultValue) const;
    bool WriteString(const std::string& section, const std::string& entry, const std::string& value) const;
    // Removes a value; true when it is gone afterwards.
    bool DeleteValue(const std::string& section, const std::string& entry) const;
    // Deletes every section (subkey) of the application's key.
    void DeleteAllSections() const;

private:
    std::string root_;
};
