// The Com class: answers the editor's version query. It holds no state.
#pragma once

#include <windows.h>

#include "Velda_h.h"

class CCom final : public ICom {
public:
    static constexpr LONG kVersion = 103;  // 1.0.3

    // Creates an object and hands out the requested interface.
    static HRESULT Create(REFIID iid, void** object);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // ICom
    STDMETHODIMP get_Version(LONG* plVersion) override;

private:
    CCom();
    ~CCom();
    volatile LONG references_ = 1;
};
