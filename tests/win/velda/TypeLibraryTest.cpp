// The type library embedded in Velda.dll, read the way script hosts read
// it: identity, help texts, and for every member its dispatch id, kind,
// virtual-table slot, parameter names, types and flags. Scripts bind by
// name and rely on optional arguments being marked; the editor and compiled
// clients rely on the slots.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "Velda_h.h"

namespace {

// A parameter type: a VARTYPE, with VT_BYREF standing for "pointer to".
struct Param {
    const wchar_t* name;
    VARTYPE type;
    USHORT flags;
};

struct Member {
    std::wstring name;
    MEMBERID id;
    INVOKEKIND kind;
    std::vector<Param> params;
};

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kOut = PARAMFLAG_FOUT;
constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
// Optional in-arguments carry a default so the dispatcher fills them.
constexpr USHORT kOptionalIn = PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
constexpr USHORT kOptionalOut = PARAMFLAG_FOUT | PARAMFLAG_FOPT;
constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET;
constexpr INVOKEKIND kPut = INVOKE_PROPERTYPUT;
constexpr INVOKEKIND kCall = INVOKE_FUNC;
constexpr VARTYPE Ref(VARTYPE type) { return static_cast<VARTYPE>(VT_BYREF | type); }

std::vector<Member> Property(const wchar_t* name, MEMBERID id, VARTYPE type, const wchar_t* result = L"pVal") {
    return {{name, id, kGet, {{result, Ref(type), kRetval}}},
            {name, id, kPut, {{L"newVal", type, kIn}}}};
}

std::vector<Member> ExpectedTavFile() {
    std::vector<Member> members;
    auto add = [&](std::vector<Member> more) { members.insert(members.end(), more.begin(), more.end()); };
    add(Property(L"Endian", 1, VT_BOOL));
    add(Property(L"Version", 2, VT_R8));
    add(Property(L"FileName", 3, VT_BSTR));
    add(Property(L"TemplateName", 4, VT_BSTR));
    add(Property(L"TemplateExtend", 5, VT_BSTR));
    add(Property(L"EditorName", 6, VT_BSTR));
    add(Property(L"Comment", 7, VT_BSTR));
    add(Property(L"HelpURI", 8, VT_BSTR, L"pbProperty"));
    add(Property(L"Indent", 9, VT_I4));
    add(Property(L"Reversible", 10, VT_BOOL));
    members.push_back({L"Regist", 15, kCall, {}});
    members.push_back({L"GetExtendNo", 16, kCall, {{L"plExtendNo", Ref(VT_I4), kRetval}}});
    const wchar_t* units[] = {L"Byte", L"Word", L"DWord", L"QWord"};
    for (int i = 0; i < 4; ++i) {
        members.push_back({std::wstring(L"Get") + units[i], 21 + i, kCall,
                           {{L"lOffset", VT_I4, kIn}, {L"bSigned", VT_BOOL, kOptionalIn},
                            {L"pvValue", Ref(VT_VARIANT), kRetval}}});
    }
    members.push_back({L"GetString", 25, kCall,
                       {{L"lSize", VT_I4, kIn}, {L"lOffset", VT_I4, kIn}, {L"pString", Ref(VT_BSTR), kRetval}}});
    for (int i = 0; i < 4; ++i) {
        members.push_back({std::wstring(L"Get") + units[i] + L"Of", 31 + i, kCall,
                           {{L"pvVal1", Ref(VT_VARIANT), kOut}, {L"pvVal2", Ref(VT_VARIANT), kOptionalOut},
                            {L"pvVal3", Ref(VT_VARIANT), kOptionalOut}, {L"pvVal4", Ref(VT_VARIANT), kOptionalOut},
                            {L"pvVal5", Ref(VT_VARIANT), kOptionalOut}}});
    }
    for (int i = 0; i < 4; ++i) {
        members.push_back({std::wstring(L"Get") + units[i] + L"s", 41 + i, kCall,
                           {{L"lSize", VT_I4, kIn}, {L"pvSafeArray", Ref(VT_VARIANT), kRetval}}});
    }
    members.push_back(
        {L"GetFormat", 45, kCall, {{L"sMessage", VT_BSTR, kIn}, {L"pvSafeArray", Ref(VT_VARIANT), kRetval}}});
    for (int i = 0; i < 4; ++i) {
        members.push_back({std::wstring(L"Put") + units[i], 51 + i, kCall,
                           {{L"bSigned", VT_BOOL, kOptionalIn}, {L"pvValue", Ref(VT_VARIANT), kRetval}}});
    }
    members.push_back({L"PutString", 55, kCall, {{L"lSize", VT_I4, kIn}}});
    for (int i = 0; i < 4; ++i) {
        members.push_back({std::wstring(L"Put") + units[i] + L"s", 61 + i, kCall, {{L"lSize", VT_I4, kIn}}});
    }
    members.push_back({L"PutAll", 65, kCall, {}});
    members.push_back({L"PutFormat", 66, kCall, {{L"sMessage", VT_BSTR, kIn}}});
    members.push_back({L"FindByte", 70, kCall, {{L"sValue", VT_I2, kIn}, {L"plOffset", Ref(VT_I4), kRetval}}});
    members.push_back({L"FindWord", 71, kCall, {{L"lValue", VT_I4, kIn}, {L"plOffset", Ref(VT_I4), kRetval}}});
    members.push_back({L"FindDWord", 72, kCall, {{L"vValue", VT_VARIANT, kIn}, {L"plOffset", Ref(VT_I4), kRetval}}});
    members.push_back({L"FindQWord", 73, kCall, {{L"vValue", VT_VARIANT, kIn}, {L"plOffset", Ref(VT_I4), kRetval}}});
    members.push_back({L"Eof", 80, kCall, {{L"pulValue", Ref(VT_BOOL), kRetval}}});
    members.push_back({L"GetOffset", 81, kCall, {{L"pvOffset", Ref(VT_VARIANT), kRetval}}});
    members.push_back({L"Seek", 82, kCall, {{L"vOffset", VT_VARIANT, kIn}, {L"lMode", VT_I4, kIn}}});
    members.push_back({L"Length", 83, kCall, {{L"pvSize", Ref(VT_VARIANT), kRetval}}});
    members.push_back({L"CalcCrc32", 84, kCall,
                       {{L"vOffset", VT_VARIANT, kIn}, {L"vSize", VT_VARIANT, kIn}, {L"vInit", VT_VARIANT, kIn},
                        {L"lMode", VT_I4, kOptionalIn}, {L"pvCrc32", Ref(VT_VARIANT), kRetval}}});
    members.push_back({L"Abort", 100, kCall, {{L"sMessage", VT_BSTR, kIn}}});
    members.push_back({L"Assert", 101, kCall,
                       {{L"bExp", VT_I4, kIn}, {L"sMessage", VT_VARIANT, PARAMFLAG_FIN | PARAMFLAG_FOPT}}});
    members.push_back({L"Print", 102, kCall, {{L"sMessage", VT_BSTR, kIn}}});
    members.push_back({L"PrintIndex", 103, kCall, {{L"sMessage", VT_BSTR, kIn}}});
    members.push_back({L"Message", 104, kCall, {{L"sMessage", VT_BSTR, kIn}}});
    return members;
}

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(VeldaDllPath().c_str(), REGKIND_NONE, &library_));
    }
    void TearDown() override {
        if (library_ != nullptr) library_->Release();
    }

    ITypeInfo* Info(REFGUID guid) {
        ITypeInfo* info = nullptr;
        EXPECT_HRESULT_SUCCEEDED(library_->GetTypeInfoOfGuid(guid, &info));
        return info;
    }

    static std::wstring Doc(ITypeInfo* info, MEMBERID id) {
        BSTR text = nullptr;
        info->GetDocumentation(id, nullptr, &text, nullptr, nullptr);
        std::wstring result = text != nullptr ? text : L"";
        SysFreeString(text);
        return result;
    }

    // Checks the functions of a dual interface in virtual-table order. The
    // library hands out the dispatch view of a dual interface by its IID;
    // the virtual-table view is the one it refers to as implemented type -1.
    static void ExpectMembers(ITypeInfo* dispatchView, const std::vector<Member>& expected) {
        HREFTYPE reference = 0;
        ASSERT_HRESULT_SUCCEEDED(dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference));
        ITypeInfo* info = nullptr;
        ASSERT_HRESULT_SUCCEEDED(dispatchView->GetRefTypeInfo(reference, &info));
        ExpectVtableMembers(info, expected);
        info->Release();
    }

    static void ExpectVtableMembers(ITypeInfo* info, const std::vector<Member>& expected) {
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
        EXPECT_EQ(TKIND_INTERFACE, attributes->typekind);
        EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FNONEXTENSIBLE,
                  attributes->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FNONEXTENSIBLE));
        ASSERT_EQ(expected.size(), attributes->cFuncs);
        info->ReleaseTypeAttr(attributes);

        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Member& member = expected[i];
            SCOPED_TRACE(std::string(member.name.begin(), member.name.end()));
            FUNCDESC* function = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(static_cast<UINT>(i), &function));
            EXPECT_EQ(member.id, function->memid);
            EXPECT_EQ(member.kind, function->invkind);
            // After the seven IUnknown and IDispatch entries, in table order.
            EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), function->oVft);
            EXPECT_EQ(VT_HRESULT, function->elemdescFunc.tdesc.vt);
            ASSERT_EQ(member.params.size(), static_cast<std::size_t>(function->cParams));

            BSTR names[8] = {};
            UINT count = 0;
            info->GetNames(function->memid, names, 8, &count);
            if (member.kind == kCall) {
                ASSERT_EQ(member.params.size() + 1, count);
            }
            EXPECT_EQ(member.name, std::wstring(names[0] != nullptr ? names[0] : L""));
            for (std::size_t p = 0; p < member.params.size(); ++p) {
                SCOPED_TRACE(p);
                const ELEMDESC& element = function->lprgelemdescParam[p];
                VARTYPE type = element.tdesc.vt;
                if (type == VT_PTR) type = static_cast<VARTYPE>(VT_BYREF | element.tdesc.lptdesc->vt);
                EXPECT_EQ(member.params[p].type, type);
                EXPECT_EQ(member.params[p].flags, element.paramdesc.wParamFlags);
                if (member.kind == kCall && p + 1 < count) {
                    EXPECT_STREQ(member.params[p].name, names[p + 1]);
                }
            }
            for (BSTR name : names) SysFreeString(name);

            const std::wstring prefix = member.kind == kCall ? L"メソッド " : L"プロパティ ";
            EXPECT_EQ(prefix + member.name, Doc(info, member.id));
            info->ReleaseFuncDesc(function);
        }
    }

    ITypeLib* library_ = nullptr;
};

}  // namespace

TEST_F(TypeLibrary, IdentifiesItselfAsVeldaLib) {
    TLIBATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_VeldaLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    EXPECT_EQ(0x409u, attributes->lcid);
    library_->ReleaseTLibAttr(attributes);

    BSTR name = nullptr, help = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    EXPECT_STREQ(L"VeldaLib", name);
    EXPECT_STREQ(L"Velda 1.0 タイプ ライブラリ", help);
    SysFreeString(name);
    SysFreeString(help);
}

TEST_F(TypeLibrary, DescribesTheTwoCreatableClasses) {
    const struct {
        const GUID* clsid;
        const GUID* iid;
        const wchar_t* name;
        const wchar_t* help;
    } classes[] = {{&CLSID_File, &IID_ITavFile, L"File", L"File Class"}, {&CLSID_Com, &IID_ICom, L"Com", L"Com Class"}};
    for (const auto& expected : classes) {
        SCOPED_TRACE(expected.name);
        ITypeInfo* info = Info(*expected.clsid);
        ASSERT_NE(nullptr, info);
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
        EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
        info->ReleaseTypeAttr(attributes);
        BSTR name = nullptr, help = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
        EXPECT_STREQ(expected.name, name);
        EXPECT_STREQ(expected.help, help);
        SysFreeString(name);
        SysFreeString(help);

        HREFTYPE reference = 0;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(0, &reference));
        ITypeInfo* implemented = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(reference, &implemented));
        TYPEATTR* interfaceAttributes = nullptr;
        implemented->GetTypeAttr(&interfaceAttributes);
        EXPECT_TRUE(IsEqualGUID(*expected.iid, interfaceAttributes->guid));
        implemented->ReleaseTypeAttr(interfaceAttributes);
        implemented->Release();
        info->Release();
    }
}

TEST_F(TypeLibrary, ITavFileHasEveryMemberInItsSlotWithItsDispatchIdAndParameters) {
    ITypeInfo* info = Info(IID_ITavFile);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(L"ITavFile インターフェイス", Doc(info, MEMBERID_NIL));
    ExpectMembers(info, ExpectedTavFile());
    info->Release();
}

TEST_F(TypeLibrary, IComHasTheReadOnlyVersion) {
    ITypeInfo* info = Info(IID_ICom);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(L"ICom インターフェイス", Doc(info, MEMBERID_NIL));
    ExpectMembers(info, {{L"Version", 1, kGet, {{L"plVersion", Ref(VT_I4), kRetval}}}});
    info->Release();
}

TEST(VersionResource, NamesTheLibraryAndItsVersion) {
    const std::wstring path = VeldaDllPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00030000u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00030000u, fixed->dwProductVersionLS);

    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars)) return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(L"バイナリファイルアクセス", text(L"FileDescription"));
    EXPECT_EQ(L"Binary File Access", text(L"Comments"));
    EXPECT_EQ(L"ヴェルダ", text(L"ProductName"));
    EXPECT_EQ(L"1.0.3", text(L"FileVersion"));
    EXPECT_EQ(L"1.0.3", text(L"ProductVersion"));
}
