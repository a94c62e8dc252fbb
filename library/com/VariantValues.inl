// Template part of VariantValues.h.
#pragma once

#include <climits>

#include "library/com/SafeArrayOwner.h"

template <class Fill>
HRESULT BuildVariantArray(std::size_t count, Fill fill, VARIANT* target) {
    if (count > static_cast<std::size_t>(LONG_MAX)) return E_OUTOFMEMORY;
    SAFEARRAYBOUND bound;
    bound.lLbound = 0;
    bound.cElements = static_cast<ULONG>(count);
    SafeArrayOwner array(SafeArrayCreate(VT_VARIANT, 1, &bound));
    if (array.Get() == nullptr) return E_OUTOFMEMORY;
    VARIANT* elements = nullptr;
    HRESULT hr = SafeArrayAccessData(array.Get(), reinterpret_cast<void**>(&elements));
    if (FAILED(hr)) return hr;
    for (std::size_t i = 0; i < count && SUCCEEDED(hr); ++i) {
        hr = fill(i, &elements[i]);
    }
    SafeArrayUnaccessData(array.Get());
    if (FAILED(hr)) return hr;
    V_VT(target) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(target) = array.Release();
    return S_OK;
}
