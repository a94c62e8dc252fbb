// The class object of one creatable class. The two class objects are static
// and live as long as the DLL; a reference held by a client counts as a
// server lock so the DLL stays loaded while anyone can still create objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

class ClassFactory : public IClassFactory {
public:
    using Creator = HRESULT (*)(REFIID iid, void** object);
    explicit constexpr ClassFactory(Creator creator) : creator_(creator) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IClassFactory; aggregation is not supported.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    Creator creator_;
};
