#include "library/com/CCom.h"

#include <new>

#include "library/com/Module.h"

CCom::CCom() { Module::ObjectCreated(); }
CCom::~CCom() { Module::ObjectDestroyed(); }

HRESULT CCom::Create(REFIID iid, void** object) {
    CCom* com = new (std::nothrow) CCom();
    if (com == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = com->QueryInterface(iid, object);
    com->Release();
    return hr;
}

STDMETHODIMP CCom::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_ICom)) {
        *object = static_cast<ICom*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CCom::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) CCom::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CCom::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CCom::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return Module::GetTypeInfo(IID_ICom, typeInfo);
}

STDMETHODIMP CCom::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = Module::GetTypeInfo(IID_ICom, &typeInfo);
    if (FAILED(hr)) return hr;
    hr = DispGetIDsOfNames(typeInfo, names, count, ids);
    typeInfo->Release();
    return hr;
}

STDMETHODIMP CCom::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argumentError) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = Module::GetTypeInfo(IID_ICom, &typeInfo);
    if (FAILED(hr)) return hr;
    hr = DispInvoke(static_cast<ICom*>(this), typeInfo, id, flags, params, result, exception, argumentError);
    typeInfo->Release();
    return hr;
}

STDMETHODIMP CCom::get_Version(LONG* plVersion) {
    if (plVersion == nullptr) return E_POINTER;
    *plVersion = kVersion;
    return S_OK;
}
