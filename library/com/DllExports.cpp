// The four entry points of an in-process COM server.
#include <windows.h>
#include <olectl.h>

#include "Velda_h.h"
#include "library/com/CCom.h"
#include "library/com/CTavFile.h"
#include "library/com/ClassFactory.h"
#include "library/com/Module.h"
#include "library/com/Registration.h"

namespace {

ClassFactory fileFactory(&CTavFile::Create);
ClassFactory comFactory(&CCom::Create);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Module::SetInstance(instance);
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualCLSID(clsid, CLSID_File)) return fileFactory.QueryInterface(iid, object);
    if (IsEqualCLSID(clsid, CLSID_Com)) return comFactory.QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    if (!Module::CanUnload()) return S_FALSE;
    Module::ReleaseTypeInfo();
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring path = Module::Path();
    if (path.empty()) return SELFREG_E_CLASS;
    return Registration::Register(path.c_str());
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const std::wstring path = Module::Path();
    if (path.empty()) return SELFREG_E_CLASS;
    return Registration::Unregister(path.c_str());
}
