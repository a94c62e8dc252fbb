#include "library/com/Module.h"

#include <oleauto.h>

HINSTANCE Module::instance_ = nullptr;
volatile LONG Module::objects_ = 0;
volatile LONG Module::locks_ = 0;

namespace {

// The type library is loaded from the DLL's own resource, so dispatch works
// from the file itself and not from whatever the registry points at.
// Objects are used from the script's thread; Com objects ("Both") may live
// on other threads, so the cache is guarded.
CRITICAL_SECTION* CacheLock() {
    static CRITICAL_SECTION lock;
    static const bool ready = (InitializeCriticalSection(&lock), true);
    (void)ready;
    return &lock;
}

ITypeLib* cachedLibrary = nullptr;

}  // namespace

std::wstring Module::Path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(instance_, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT Module::GetTypeInfo(REFIID iid, ITypeInfo** typeInfo) {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    EnterCriticalSection(CacheLock());
    HRESULT hr = S_OK;
    if (cachedLibrary == nullptr) {
        const std::wstring path = Path();
        hr = path.empty() ? E_UNEXPECTED : LoadTypeLibEx(path.c_str(), REGKIND_NONE, &cachedLibrary);
    }
    if (SUCCEEDED(hr)) hr = cachedLibrary->GetTypeInfoOfGuid(iid, typeInfo);
    LeaveCriticalSection(CacheLock());
    return hr;
}

void Module::ReleaseTypeInfo() {
    EnterCriticalSection(CacheLock());
    if (cachedLibrary != nullptr) {
        cachedLibrary->Release();
        cachedLibrary = nullptr;
    }
    LeaveCriticalSection(CacheLock());
}
