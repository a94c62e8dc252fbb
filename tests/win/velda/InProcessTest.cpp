// The server's COM shape seen from a client in the same process: class
// objects, the unload rule, the version query through IDispatch, and the
// HRESULTs of a refused attachment that script hosts do not pass on.
#include <gtest/gtest.h>

#include <cstring>

#include "ScriptTestSupport.h"
#include "Velda_h.h"

namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

class Server : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(VeldaDllPath().c_str());
        ASSERT_NE(nullptr, module_);
        getClassObject_ = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        ASSERT_NE(nullptr, getClassObject_);
        ASSERT_NE(nullptr, canUnloadNow_);
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    ComApartment apartment_;
    HMODULE module_ = nullptr;
    GetClassObject getClassObject_ = nullptr;
    CanUnloadNow canUnloadNow_ = nullptr;
};

// Creates "VeldaShare" holding a given block for the length of a test.
class SessionMapping {
public:
    explicit SessionMapping(const session::SessionBlock& block) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, session::kBlockSize,
                                      session::kMappingName);
        if (mapping_ != nullptr) view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
        if (view_ != nullptr) std::memcpy(view_, &block, sizeof(block));
    }
    ~SessionMapping() {
        if (view_ != nullptr) UnmapViewOfFile(view_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
    }
    bool Ready() const { return view_ != nullptr; }
    const session::SessionBlock& Block() const { return *static_cast<const session::SessionBlock*>(view_); }

private:
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

}  // namespace

TEST_F(Server, ServesClassObjectsForItsTwoClassesOnly) {
    IClassFactory* factory = nullptr;
    EXPECT_HRESULT_SUCCEEDED(getClassObject_(CLSID_File, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    if (factory != nullptr) factory->Release();
    factory = nullptr;
    EXPECT_HRESULT_SUCCEEDED(getClassObject_(CLSID_Com, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    if (factory != nullptr) factory->Release();
    factory = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              getClassObject_(IID_ITavFile, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(nullptr, factory);
}

TEST_F(Server, MayUnloadOnlyWhenNoObjectFactoryOrLockIsAlive) {
    ASSERT_EQ(S_OK, canUnloadNow_());
    IClassFactory* factory = nullptr;
    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_Com, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_FALSE, canUnloadNow_());

    IUnknown* object = nullptr;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)));
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    object->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());

    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_Com, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_Com, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(Server, RefusesAggregation) {
    IClassFactory* factory = nullptr;
    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_Com, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    IUnknown* object = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IUnknown, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(nullptr, object);
    factory->Release();
}

TEST_F(Server, TheVersionQueryAnswers103ByNameAndThroughTheInterface) {
    CLSID clsid = {};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Velda.Com", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_Com, clsid));
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Velda.Com.1", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_Com, clsid));

    IDispatch* dispatch = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    LPOLESTR name = const_cast<LPOLESTR>(L"Version");
    DISPID id = 0;
    ASSERT_HRESULT_SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(1, id);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_HRESULT_SUCCEEDED(
        dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_I4, V_VT(&result));
    EXPECT_EQ(103, V_I4(&result));

    ICom* com = nullptr;
    ASSERT_HRESULT_SUCCEEDED(dispatch->QueryInterface(IID_ICom, reinterpret_cast<void**>(&com)));
    LONG version = 0;
    EXPECT_HRESULT_SUCCEEDED(com->get_Version(&version));
    EXPECT_EQ(103, version);
    com->Release();
    dispatch->Release();
}

TEST_F(Server, AFileObjectRefusesABlockWhoseSizeWordIsNot1524) {
    session::SessionBlock block = MakeRunBlock(1, false, 16, 0);
    block.blockSize = 1523;
    block.outputBytes = 99;
    SessionMapping mapping(block);
    ASSERT_TRUE(mapping.Ready());

    IUnknown* object = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(0x80010110),
              CoCreateInstance(CLSID_File, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(0, std::memcmp(&block, &mapping.Block(), sizeof(block)));
}
