#include "library/com/Registration.h"

#include <oleauto.h>

#include <string>


namespace {

constexpr wchar_t kAppId[] = L"{B54A40C7-14D3-4906-8F50-7B54B8AABA2F}";
constexpr wchar_t kAppName[] = L"Velda";
constexpr wchar_t kDllAppIdKey[] = L"AppID\\Velda.DLL";
constexpr wchar_t kLibId[] = L"{03C768B7-EC05-4B5F-9581-9B6AD1880159}";

struct ClassEntry {
    const wchar_t* clsid;
    const wchar_t* description;
    const wchar_t* progId;
    const wchar_t* independentProgId;
    const wchar_t* threadingModel;
};

constexpr ClassEntry kClasses[] = {
    {L"{AE64AED3-AE6C-4891-8645-7CAC756B25D5}", L"File Class", L"Velda.File.1", L"Velda.File", L"Apartment"},
    {L"{EAC44DFB-26C5-4D85-B8A7-D1665450ABD0}", L"Com Class", L"Velda.Com.1", L"Velda.Com", L"Both"},
};

// Owner of an open registry key.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

HRESULT FromWin32(LONG status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// Creates HKCR\path (and its parents) and sets one string value (null name:
// the key's default value; null data: no value, the key alone).
HRESULT SetString(const std::wstring& path, const wchar_t* name, const wchar_t* data) {
    RegistryKey key;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS || data == nullptr) return FromWin32(status);
    const DWORD bytes = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes);
    return FromWin32(status);
}

// Removes HKCR\path with everything below it; a missing key is fine.
HRESULT DeleteTree(const std::wstring& path) {
    const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;
    if (status != ERROR_SUCCESS) return FromWin32(status);
    // Depending on the system RegDeleteTree may leave the emptied key behind.
    const LONG removed = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return removed == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(removed);
}

HRESULT WriteClassEntries(const ClassEntry& entry, const wchar_t* dllPath) {
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + entry.clsid;
    const std::wstring versioned = entry.progId;
    const std::wstring independent = entry.independentProgId;

    HRESULT hr = DeleteTree(clsidKey);
    const struct {
        std::wstring path;
        const wchar_t* name;
        const wchar_t* data;
    } values[] = {
        {versioned, nullptr, entry.description},
        {versioned + L"\\CLSID", nullptr, entry.clsid},
        {independent, nullptr, entry.description},
        {independent + L"\\CLSID", nullptr, entry.clsid},
        {independent + L"\\CurVer", nullptr, entry.progId},
        {clsidKey, nullptr, entry.description},
        {clsidKey, L"AppID", kAppId},
        {clsidKey + L"\\ProgID", nullptr, entry.progId},
        {clsidKey + L"\\VersionIndependentProgID", nullptr, entry.independentProgId},
        {clsidKey + L"\\Programmable", nullptr, nullptr},
        {clsidKey + L"\\InprocServer32", nullptr, dllPath},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", entry.threadingModel},
        {clsidKey + L"\\TypeLib", nullptr, kLibId},
    };
    for (const auto& value : values) {
        if (FAILED(hr)) break;
        hr = SetString(value.path, value.name, value.data);
    }
    return hr;
}

HRESULT RemoveClassEntries(const ClassEntry& entry) {
    HRESULT hr = DeleteTree(entry.progId);
    const HRESULT independent = DeleteTree(entry.independentProgId);
    const HRESULT clsid = DeleteTree(std::wstring(L"CLSID\\") + entry.clsid);
    if (SUCCEEDED(hr)) hr = independent;
    if (SUCCEEDED(hr)) hr = clsid;
    return hr;
}

}  // namespace

HRESULT Registration::Register(const wchar_t* dllPath) {
    HRESULT hr = SetString(std::wstring(L"AppID\\") + kAppId, nullptr, kAppName);
    if (SUCCEEDED(hr)) hr = SetString(kDllAppIdKey, L"AppID", kAppId);
    for (const ClassEntry& entry : kClasses) {
        if (SUCCEEDED(hr)) hr = WriteClassEntries(entry, dllPath);
    }
    if (FAILED(hr)) return hr;

    ITypeLib* library = nullptr;
    hr = LoadTypeLibEx(dllPath, REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(library, const_cast<OLECHAR*>(dllPath), nullptr);
    library->Release();
    return hr;
}

HRESULT Registration::Unregister(const wchar_t* dllPath) {
    HRESULT hr = S_OK;
    for (const ClassEntry& entry : kClasses) {
        const HRESULT removed = RemoveClassEntries(entry);
        if (SUCCEEDED(hr)) hr = removed;
    }
    // The AppID key itself is shared with other servers and stays.
    const HRESULT appId = DeleteTree(std::wstring(L"AppID\\") + kAppId);
    const HRESULT dllAppId = DeleteTree(kDllAppIdKey);
    if (SUCCEEDED(hr)) hr = appId;
    if (SUCCEEDED(hr)) hr = dllAppId;

    ITypeLib* library = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(dllPath, REGKIND_NONE, &library))) {
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(library->GetLibAttr(&attributes))) {
            // A library that is not registered (any more) is not an error
            // here; UnRegisterTypeLib would report one.
            BSTR registeredPath = nullptr;
            if (SUCCEEDED(QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum,
                                                attributes->wMinorVerNum, attributes->lcid, &registeredPath))) {
                SysFreeString(registeredPath);
                const HRESULT removed = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum,
                                                          attributes->wMinorVerNum, attributes->lcid,
                                                          attributes->syskind);
                if (SUCCEEDED(hr)) hr = removed;
            }
            library->ReleaseTLibAttr(attributes);
        }
        library->Release();
    }
    return hr;
}
