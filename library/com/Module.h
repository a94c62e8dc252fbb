// Process-wide state of the DLL: its instance handle, the counts that decide
// whether it may be unloaded, and the type information that every object's
// IDispatch is served from.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

class Module {
public:
    static void SetInstance(HINSTANCE instance) { instance_ = instance; }
    static HINSTANCE Instance() { return instance_; }
    // Full path of Velda.dll; empty when the system cannot tell.
    static std::wstring Path();

    // Live objects and outstanding server locks (class factory references
    // and IClassFactory::LockServer).
    static void ObjectCreated() { InterlockedIncrement(&objects_); }
    static void ObjectDestroyed() { InterlockedDecrement(&objects_); }
    static void Lock() { InterlockedIncrement(&locks_); }
    static void Unlock() { InterlockedDecrement(&locks_); }
    static bool CanUnload() { return objects_ == 0 && locks_ == 0; }

    // The type information of an interface of the embedded type library,
    // loaded once and shared; the caller gets its own reference.
    static HRESULT GetTypeInfo(REFIID iid, ITypeInfo** typeInfo);
    // Drops the shared type library (when the DLL may be unloaded).
    static void ReleaseTypeInfo();

private:
    static HINSTANCE instance_;
    static volatile LONG objects_;
    static volatile LONG locks_;
};
