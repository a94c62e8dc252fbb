// The registry entries that make Velda.dll creatable by ProgID, and the
// registration of its embedded type library. DllRegisterServer and
// DllUnregisterServer call these.
#pragma once

#include <windows.h>

class Registration {
public:
    // Writes the AppID, ProgID and CLSID entries of both classes under
    // HKEY_CLASSES_ROOT (each CLSID key is rebuilt from scratch), then
    // registers the type library from dllPath.
    static HRESULT Register(const wchar_t* dllPath);
    // Removes what Register wrote, keeping the AppID key itself, and
    // unregisters the type library. Entries already gone are not an error.
    static HRESULT Unregister(const wchar_t* dllPath);
};
