// The registry entries regsvr32 leaves for Velda.dll (registered by the
// test fixture), and what unregistering removes and keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ScriptTestSupport.h"

namespace {

const wchar_t kFileClsid[] = L"{AE64AED3-AE6C-4891-8645-7CAC756B25D5}";
const wchar_t kComClsid[] = L"{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}";
const wchar_t kAppId[] = L"{B54A40C7-14D3-4906-8F50-7B54B8AABA2F}";
const wchar_t kLibId[] = L"{03C768B7-EC05-4B5F-9581-9B6AD1880159}";

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Every key and string value below path, one line each, sorted:
// "sub\key" for a key, "sub\key|name=value" for a value ("@" is the
// default value). Paths are relative to path.
void ListTree(HKEY parent, const std::wstring& relative, std::vector<std::wstring>* lines) {
    DWORD index = 0;
    wchar_t name[256];
    BYTE data[2048];
    for (;;) {
        DWORD nameLength = 256, dataLength = sizeof(data), type = 0;
        const LONG status = RegEnumValueW(parent, index++, name, &nameLength, nullptr, &type, data, &dataLength);
        if (status != ERROR_SUCCESS) break;
        std::wstring value = type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data)) : L"<non-string>";
        lines->push_back(relative + L"|" + (nameLength == 0 ? L"@" : name) + L"=" + value);
    }
    for (index = 0;; ++index) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(parent, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        lines->push_back(child);
        HKEY key = nullptr;
        if (RegOpenKeyExW(parent, name, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            ListTree(key, child, lines);
            RegCloseKey(key);
        }
    }
}

std::vector<std::wstring> Tree(const std::wstring& path) {
    std::vector<std::wstring> lines;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return lines;
    ListTree(key, L"", &lines);
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

// Runs the system's registration tool the way the editor does.
DWORD RunRegsvr32(bool unregister) {
    std::wstring command = L"regsvr32 /s ";
    if (unregister) command += L"/u ";
    command += L"\"" + VeldaDllPath() + L"\"";
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return static_cast<DWORD>(-1);
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

void ExpectClassEntries(const wchar_t* clsid, const wchar_t* description, const wchar_t* progId,
                        const wchar_t* independent, const wchar_t* threading) {
    std::vector<std::wstring> tree = Tree(std::wstring(L"CLSID\\") + clsid);
    // The server path is compared without regard to case below.
    std::wstring server;
    for (std::wstring& line : tree) {
        const std::wstring prefix = L"InprocServer32|@=";
        if (line.compare(0, prefix.size(), prefix) == 0) {
            server = line.substr(prefix.size());
            line = prefix + L"<dll>";
        }
    }
    EXPECT_EQ(Upper(VeldaDllPath()), Upper(server));
    EXPECT_EQ(Sorted({
                  std::wstring(L"|@=") + description,
                  std::wstring(L"|AppID=") + kAppId,
                  L"ProgID",
                  std::wstring(L"ProgID|@=") + progId,
                  L"VersionIndependentProgID",
                  std::wstring(L"VersionIndependentProgID|@=") + independent,
                  L"Programmable",
                  L"InprocServer32",
                  L"InprocServer32|@=<dll>",
                  std::wstring(L"InprocServer32|ThreadingModel=") + threading,
                  L"TypeLib",
                  std::wstring(L"TypeLib|@=") + kLibId,
              }),
              tree);
    EXPECT_EQ(Sorted({std::wstring(L"|@=") + description, L"CLSID", std::wstring(L"CLSID|@=") + clsid}),
              Tree(progId));
    EXPECT_EQ(Sorted({std::wstring(L"|@=") + description, L"CLSID", std::wstring(L"CLSID|@=") + clsid, L"CurVer",
                      std::wstring(L"CurVer|@=") + progId}),
              Tree(independent));
}

}  // namespace

TEST(Registration, RegistersBothClassesTheirProgIdsAndTheAppId) {
    ExpectClassEntries(kFileClsid, L"File Class", L"Velda.File.1", L"Velda.File", L"Apartment");
    ExpectClassEntries(kComClsid, L"Com Class", L"Velda.Com.1", L"Velda.Com", L"Both");
    EXPECT_EQ(Sorted({L"|@=Velda"}), Tree(std::wstring(L"AppID\\") + kAppId));
    EXPECT_EQ(Sorted({std::wstring(L"|AppID=") + kAppId}), Tree(L"AppID\\Velda.DLL"));
}

TEST(Registration, RegistersTheTypeLibraryAndItsInterfaces) {
    const std::wstring library = std::wstring(L"TypeLib\\") + kLibId + L"\\1.0";
    ASSERT_TRUE(KeyExists(library));
    EXPECT_TRUE(KeyExists(library + L"\\409\\win64"));
    EXPECT_TRUE(KeyExists(L"Interface\\{8FC96D3F-3B97-4D3A-B62E-E32A9FB4F72B}"));
    EXPECT_TRUE(KeyExists(L"Interface\\{9BD573A7-C0D1-48AF-86FB-218CF6E4F790}"));
}

// Changes the registration of the whole prefix; CTest runs it on its own.
TEST(Unregistration, RemovesTheClassesButKeepsTheAppIdKeyAndRegistersAgain) {
    ASSERT_EQ(0u, RunRegsvr32(true));
    EXPECT_FALSE(KeyExists(std::wstring(L"CLSID\\") + kFileClsid));
    EXPECT_FALSE(KeyExists(std::wstring(L"CLSID\\") + kComClsid));
    EXPECT_FALSE(KeyExists(L"Velda.File"));
    EXPECT_FALSE(KeyExists(L"Velda.File.1"));
    EXPECT_FALSE(KeyExists(L"Velda.Com"));
    EXPECT_FALSE(KeyExists(L"Velda.Com.1"));
    EXPECT_FALSE(KeyExists(std::wstring(L"AppID\\") + kAppId));
    EXPECT_FALSE(KeyExists(L"AppID\\Velda.DLL"));
    EXPECT_FALSE(KeyExists(std::wstring(L"TypeLib\\") + kLibId));
    EXPECT_TRUE(KeyExists(L"AppID"));

    // Unregistering twice is harmless, and registering again restores all.
    EXPECT_EQ(0u, RunRegsvr32(true));
    ASSERT_EQ(0u, RunRegsvr32(false));
    ExpectClassEntries(kFileClsid, L"File Class", L"Velda.File.1", L"Velda.File", L"Apartment");
    ExpectClassEntries(kComClsid, L"Com Class", L"Velda.Com.1", L"Velda.Com", L"Both");
    EXPECT_TRUE(KeyExists(std::wstring(L"TypeLib\\") + kLibId));
}

TEST(Unregistration, ReRegistrationRebuildsAClassKeyFromScratch) {
    // A stale value under the class key (an older server's) is dropped.
    const std::wstring key = std::wstring(L"CLSID\\") + kFileClsid + L"\\LocalServer32";
    HKEY stale = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &stale, nullptr));
    RegCloseKey(stale);
    ASSERT_EQ(0u, RunRegsvr32(false));
    EXPECT_FALSE(KeyExists(key));
    ExpectClassEntries(kFileClsid, L"File Class", L"Velda.File.1", L"Velda.File", L"Apartment");
}
