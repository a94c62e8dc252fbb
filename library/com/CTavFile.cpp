#include "library/com/CTavFile.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "library/com/AnsiText.h"
#include "library/com/Module.h"
#include "library/com/VariantValues.h"

namespace {

// No C++ exception may cross the COM boundary; the core only throws when
// memory runs out.
template <class Body>
HRESULT Guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT CopyBstr(BSTR source, BSTR* target) {
    if (target == nullptr) return E_POINTER;
    *target = SysAllocStringLen(source, SysStringLen(source));
    return *target == nullptr ? E_OUTOFMEMORY : S_OK;
}

// Keeps a copy of an assigned text.
HRESULT StoreBstr(BSTR source, UniqueBstr* store) {
    BSTR copy = SysAllocStringLen(source, SysStringLen(source));
    if (copy == nullptr) return E_OUTOFMEMORY;
    store->Reset(copy);
    return S_OK;
}

// An optional [out] VARIANT* that the caller left out arrives as a pointer
// to the dispatcher's "parameter not found" marker.
bool Supplied(const VARIANT* argument) {
    return argument != nullptr && !(V_VT(argument) == VT_ERROR && V_ERROR(argument) == DISP_E_PARAMNOTFOUND);
}

// The string behind a VARIANT argument, following references (VBScript
// passes variables by reference); null when it holds no string.
const BSTR* StringIn(const VARIANT* value) {
    while (value != nullptr && V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
    if (value == nullptr) return nullptr;
    if (V_VT(value) == VT_BSTR) return &V_BSTR(value);
    if (V_VT(value) == (VT_BYREF | VT_BSTR)) return V_BSTRREF(value);
    return nullptr;
}

// The dispatch ids of members with an argument that has a meaning for NaN
// and the infinities: Seek leaves the position alone, and Assert's message
// is a text ("NaN").
constexpr DISPID kDispidSeek = 82;
constexpr DISPID kDispidAssert = 101;

// A floating-point argument (also one passed by reference) that is NaN or
// infinite.
bool IsNonFiniteNumber(const VARIANT& argument) {
    const VARIANT* value = &argument;
    while (V_VT(value) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(value) != nullptr) value = V_VARIANTREF(value);
    double number = 0;
    switch (V_VT(value)) {
    case VT_R8: number = V_R8(value); break;
    case VT_R4: number = V_R4(value); break;
    case VT_BYREF | VT_R8: number = V_R8REF(value) ? *V_R8REF(value) : 0; break;
    case VT_BYREF | VT_R4: number = V_R4REF(value) ? *V_R4REF(value) : 0; break;
    default: return false;
    }
    return !std::isfinite(number);
}

// The declared type of the parameter that rgvarg[k] fills (rgvarg holds the
// arguments last first; a property's new value is the last parameter), or
// VT_EMPTY when the member is not found.
VARTYPE ParameterType(ITypeInfo* info, DISPID id, WORD flags, UINT k, UINT count, UINT* position) {
    TYPEATTR* attributes = nullptr;
    if (info == nullptr || FAILED(info->GetTypeAttr(&attributes))) return VT_EMPTY;
    const WORD functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    const INVOKEKIND wanted = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? INVOKE_PROPERTYPUT
                              : (flags & DISPATCH_METHOD)                                 ? INVOKE_FUNC
                                                                                          : INVOKE_PROPERTYGET;
    VARTYPE type = VT_EMPTY;
    for (WORD i = 0; i < functions && type == VT_EMPTY; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) continue;
        const bool match = function->memid == id &&
                           (function->invkind == wanted ||
                            (wanted == INVOKE_FUNC && function->invkind == INVOKE_PROPERTYGET) ||
                            (wanted == INVOKE_PROPERTYGET && function->invkind == INVOKE_FUNC));
        if (match && count <= static_cast<UINT>(function->cParams)) {
            *position = count - 1 - k;
            if (*position < static_cast<UINT>(function->cParams)) {
                type = function->lprgelemdescParam[*position].tdesc.vt;
                if (type == VT_PTR && function->lprgelemdescParam[*position].tdesc.lptdesc != nullptr) {
                    type = function->lprgelemdescParam[*position].tdesc.lptdesc->vt;
                }
            }
        }
        info->ReleaseFuncDesc(function);
    }
    return type;
}

// True when NaN or an infinity given for this parameter is to be refused:
// a parameter that takes it as an offset, size, count or value. A text
// parameter receives the number's text, a floating-point one the number.
bool RefusesNonFinite(ITypeInfo* info, DISPID id, WORD flags, UINT k, UINT count) {
    if (id == kDispidSeek) return false;
    UINT position = 0;
    const VARTYPE type = ParameterType(info, id, flags, k, count, &position);
    if (type == VT_BSTR || type == VT_R8 || type == VT_R4) return false;
    if (id == kDispidAssert && position == 1) return false;
    return true;
}

}  // namespace

CTavFile::CTavFile() { Module::ObjectCreated(); }

CTavFile::~CTavFile() {
    core_.reset();
    if (typeInfo_ != nullptr) typeInfo_->Release();
    Module::ObjectDestroyed();
}

HRESULT CTavFile::Create(REFIID iid, void** object) {
    CTavFile* file = new (std::nothrow) CTavFile();
    if (file == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = file->Attach();
    if (SUCCEEDED(hr)) hr = file->QueryInterface(iid, object);
    file->Release();
    return hr;
}

HRESULT CTavFile::Attach() {
    switch (session_.Attach()) {
    case FileSession::Result::NoMapping:
        FileSession::EndNotStartedFromEditor(session_.lastError());
    case FileSession::Result::Failed:
        return session_.failure();
    case FileSession::Result::Attached:
        break;
    }
    HRESULT hr = Module::GetTypeInfo(IID_ITavFile, &typeInfo_);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        core_.reset(new velda::FileCore(session_.block(), session_.input(), session_.output(), session_.errors()));
        core_->Attach();
        return S_OK;
    });
}

// --- IUnknown ---

STDMETHODIMP CTavFile::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_ITavFile)) {
        *object = static_cast<ITavFile*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CTavFile::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) CTavFile::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// --- IDispatch ---

STDMETHODIMP CTavFile::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CTavFile::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
    if (typeInfo == nullptr) return E_POINTER;
    *typeInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    typeInfo_->AddRef();
    *typeInfo = typeInfo_;
    return S_OK;
}

STDMETHODIMP CTavFile::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(typeInfo_, names, count, ids);
}

STDMETHODIMP CTavFile::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* argumentError) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    // Scripts pass their numbers as doubles. NaN and the infinities are no
    // offset, size, count or value: the dispatcher's conversion refuses them
    // on some systems and turns them into an arbitrary integer on others,
    // which would read or write somewhere nobody asked for. They are refused
    // here alike on every system, except where a parameter gives them a
    // meaning: a text parameter gets the number's text, Version stores 0
    // for a NaN and holds the infinities at the field's limits, and Seek
    // leaves the position alone.
    if (params != nullptr) {
        for (UINT k = 0; k < params->cArgs; ++k) {
            if (IsNonFiniteNumber(params->rgvarg[k]) && RefusesNonFinite(typeInfo_, id, flags, k, params->cArgs)) {
                if (argumentError != nullptr) *argumentError = k;
                return DISP_E_OVERFLOW;
            }
        }
    }
    return DispInvoke(static_cast<ITavFile*>(this), typeInfo_, id, flags, params, result, exception, argumentError);
}

// --- properties ---

STDMETHODIMP CTavFile::get_Endian(VARIANT_BOOL* pVal) {
    if (pVal == nullptr) return E_POINTER;
    *pVal = core_->Endian() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP CTavFile::put_Endian(VARIANT_BOOL newVal) {
    core_->SetEndian(newVal);
    return S_OK;
}

STDMETHODIMP CTavFile::get_Version(double* pVal) {
    if (pVal == nullptr) return E_POINTER;
    *pVal = core_->version();
    return S_OK;
}

STDMETHODIMP CTavFile::put_Version(double newVal) {
    core_->SetVersion(newVal);
    return S_OK;
}

STDMETHODIMP CTavFile::get_FileName(BSTR* pVal) {
    if (pVal == nullptr) return E_POINTER;
    // Always the editor's name from the block; an assigned name is kept but
    // never read back.
    return Guarded([&] {
        *pVal = BstrFromAnsi(core_->FileName());
        return *pVal == nullptr ? E_OUTOFMEMORY : S_OK;
    });
}

STDMETHODIMP CTavFile::put_FileName(BSTR newVal) { return StoreBstr(newVal, &fileName_); }

STDMETHODIMP CTavFile::get_TemplateName(BSTR* pVal) { return CopyBstr(templateName_.Get(), pVal); }

STDMETHODIMP CTavFile::put_TemplateName(BSTR newVal) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(newVal, &templateName_);
        if (SUCCEEDED(hr)) core_->SetTemplateName(AnsiFromBstr(newVal));
        return hr;
    });
}

STDMETHODIMP CTavFile::get_TemplateExtend(BSTR* pVal) { return CopyBstr(templateExtend_.Get(), pVal); }

STDMETHODIMP CTavFile::put_TemplateExtend(BSTR newVal) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(newVal, &templateExtend_);
        if (SUCCEEDED(hr)) core_->SetTemplateExtend(AnsiFromBstr(newVal));
        return hr;
    });
}

STDMETHODIMP CTavFile::get_EditorName(BSTR* pVal) { return CopyBstr(editorName_.Get(), pVal); }

STDMETHODIMP CTavFile::put_EditorName(BSTR newVal) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(newVal, &editorName_);
        if (SUCCEEDED(hr)) core_->SetEditorName(AnsiFromBstr(newVal));
        return hr;
    });
}

STDMETHODIMP CTavFile::get_Comment(BSTR* pVal) { return CopyBstr(comment_.Get(), pVal); }

STDMETHODIMP CTavFile::put_Comment(BSTR newVal) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(newVal, &comment_);
        if (SUCCEEDED(hr)) core_->SetComment(AnsiFromBstr(newVal));
        return hr;
    });
}

STDMETHODIMP CTavFile::get_HelpURI(BSTR* pbProperty) { return CopyBstr(helpUri_.Get(), pbProperty); }

STDMETHODIMP CTavFile::put_HelpURI(BSTR newVal) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(newVal, &helpUri_);
        if (SUCCEEDED(hr)) core_->SetHelpUri(AnsiFromBstr(newVal));
        return hr;
    });
}

STDMETHODIMP CTavFile::get_Indent(LONG* pVal) {
    if (pVal == nullptr) return E_POINTER;
    *pVal = core_->indent;
    return S_OK;
}

STDMETHODIMP CTavFile::put_Indent(LONG newVal) {
    core_->indent = newVal;
    return S_OK;
}

STDMETHODIMP CTavFile::get_Reversible(VARIANT_BOOL* pVal) {
    if (pVal == nullptr) return E_POINTER;
    *pVal = core_->reversible();
    return S_OK;
}

STDMETHODIMP CTavFile::put_Reversible(VARIANT_BOOL newVal) {
    core_->SetReversible(newVal);
    return S_OK;
}

// --- declaration ---

STDMETHODIMP CTavFile::Regist() {
    // The editor's information query starts the script without any standard
    // handles: failing here ends the script right after its declarations.
    return session_.HasInput() ? S_OK : E_ABORT;
}

STDMETHODIMP CTavFile::GetExtendNo(LONG* plExtendNo) {
    if (plExtendNo == nullptr) return E_POINTER;
    *plExtendNo = core_->GetExtendNo();
    return S_OK;
}

// --- reading ---

HRESULT CTavFile::GetUnit(unsigned width, LONG distance, VARIANT_BOOL isSigned, VARIANT* result) {
    if (result == nullptr) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        velda::UnitValue value;
        const HRESULT hr = core_->GetUnit(width, distance, isSigned != 0, &value);
        if (SUCCEEDED(hr)) SetUnitResult(value, result);
        return hr;
    });
}

STDMETHODIMP CTavFile::GetByte(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) {
    return GetUnit(1, lOffset, bSigned, pvValue);
}
STDMETHODIMP CTavFile::GetWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) {
    return GetUnit(2, lOffset, bSigned, pvValue);
}
STDMETHODIMP CTavFile::GetDWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) {
    return GetUnit(4, lOffset, bSigned, pvValue);
}
STDMETHODIMP CTavFile::GetQWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) {
    return GetUnit(8, lOffset, bSigned, pvValue);
}

STDMETHODIMP CTavFile::GetString(LONG lSize, LONG lOffset, BSTR* pString) {
    if (pString == nullptr) return E_POINTER;
    *pString = nullptr;
    return Guarded([&] {
        std::string text;
        HRESULT hr = core_->GetString(lSize, lOffset, &text);
        if (FAILED(hr)) return hr;
        *pString = BstrFromAnsi(text);
        return *pString == nullptr ? E_OUTOFMEMORY : S_OK;
    });
}

HRESULT CTavFile::GetUnitsOf(unsigned width, VARIANT* (&targets)[5]) {
    // The count is the position of the last argument the caller supplied;
    // units for omitted arguments in between are read but not stored.
    unsigned count = 0;
    for (unsigned k = 0; k < 5; ++k) {
        if (Supplied(targets[k])) count = k + 1;
    }
    if (count == 0) return E_INVALIDARG;
    return Guarded([&] {
        std::vector<std::uint64_t> values;
        const HRESULT hr = core_->GetUnitsOf(width, count, &values);
        if (FAILED(hr)) return hr;
        for (unsigned k = 0; k < count && k < values.size(); ++k) {
            if (!Supplied(targets[k])) continue;
            VariantClear(targets[k]);
            SetUnsignedUnit(width, values[k], targets[k]);
        }
        return S_OK;
    });
}

STDMETHODIMP CTavFile::GetByteOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) {
    VARIANT* targets[5] = {pvVal1, pvVal2, pvVal3, pvVal4, pvVal5};
    return GetUnitsOf(1, targets);
}
STDMETHODIMP CTavFile::GetWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) {
    VARIANT* targets[5] = {pvVal1, pvVal2, pvVal3, pvVal4, pvVal5};
    return GetUnitsOf(2, targets);
}
STDMETHODIMP CTavFile::GetDWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) {
    VARIANT* targets[5] = {pvVal1, pvVal2, pvVal3, pvVal4, pvVal5};
    return GetUnitsOf(4, targets);
}
STDMETHODIMP CTavFile::GetQWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) {
    VARIANT* targets[5] = {pvVal1, pvVal2, pvVal3, pvVal4, pvVal5};
    return GetUnitsOf(8, targets);
}

HRESULT CTavFile::GetUnits(unsigned width, LONG count, VARIANT* result) {
    if (result == nullptr) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        std::vector<std::uint64_t> values;
        const HRESULT hr = core_->GetUnits(width, count, &values);
        if (FAILED(hr)) return hr;
        const VARTYPE type = ArrayElementType(width);
        return BuildVariantArray(
            values.size(), [&](std::size_t i, VARIANT* element) { return ConvertUnsigned(values[i], type, element); },
            result);
    });
}

STDMETHODIMP CTavFile::GetBytes(LONG lSize, VARIANT* pvSafeArray) { return GetUnits(1, lSize, pvSafeArray); }
STDMETHODIMP CTavFile::GetWords(LONG lSize, VARIANT* pvSafeArray) { return GetUnits(2, lSize, pvSafeArray); }
STDMETHODIMP CTavFile::GetDWords(LONG lSize, VARIANT* pvSafeArray) { return GetUnits(4, lSize, pvSafeArray); }
STDMETHODIMP CTavFile::GetQWords(LONG lSize, VARIANT* pvSafeArray) { return GetUnits(8, lSize, pvSafeArray); }

STDMETHODIMP CTavFile::GetFormat(BSTR sMessage, VARIANT* pvSafeArray) {
    if (pvSafeArray == nullptr) return E_POINTER;
    VariantInit(pvSafeArray);
    return Guarded([&] {
        std::vector<velda::FormatElement> elements;
        const HRESULT hr = core_->GetFormat(AnsiFromBstr(sMessage), &elements);
        if (FAILED(hr)) return hr;
        using Kind = velda::FormatElement::Kind;
        return BuildVariantArray(
            elements.size(),
            [&](std::size_t i, VARIANT* element) -> HRESULT {
                const velda::FormatElement& source = elements[i];
                switch (source.kind) {
                case Kind::Char:
                    V_VT(element) = VT_BSTR;
                    V_BSTR(element) = BstrFromAnsi(source.text);
                    return V_BSTR(element) == nullptr ? E_OUTOFMEMORY : S_OK;
                case Kind::Byte: return ConvertUnsigned(source.value, VT_I2, element);
                case Kind::Word: return ConvertUnsigned(source.value, VT_I4, element);
                case Kind::DWord: return ConvertUnsigned(source.value, VT_R8, element);
                case Kind::QWord: return ConvertUnsigned(source.value, VT_I8, element);
                }
                return E_UNEXPECTED;
            },
            pvSafeArray);
    });
}

// --- output ---

HRESULT CTavFile::PutUnit(unsigned width, VARIANT_BOOL isSigned, VARIANT* result) {
    if (result == nullptr) return E_POINTER;
    VariantInit(result);
    return Guarded([&] {
        velda::UnitValue value;
        const HRESULT hr = core_->PutUnit(width, isSigned != 0, &value);
        if (SUCCEEDED(hr)) SetUnitResult(value, result);
        return hr;
    });
}

STDMETHODIMP CTavFile::PutByte(VARIANT_BOOL bSigned, VARIANT* pvValue) { return PutUnit(1, bSigned, pvValue); }
STDMETHODIMP CTavFile::PutWord(VARIANT_BOOL bSigned, VARIANT* pvValue) { return PutUnit(2, bSigned, pvValue); }
STDMETHODIMP CTavFile::PutDWord(VARIANT_BOOL bSigned, VARIANT* pvValue) { return PutUnit(4, bSigned, pvValue); }
STDMETHODIMP CTavFile::PutQWord(VARIANT_BOOL bSigned, VARIANT* pvValue) { return PutUnit(8, bSigned, pvValue); }

STDMETHODIMP CTavFile::PutString(LONG lSize) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutString(lSize)); });
}
STDMETHODIMP CTavFile::PutBytes(LONG lSize) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutUnits(1, lSize)); });
}
STDMETHODIMP CTavFile::PutWords(LONG lSize) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutUnits(2, lSize)); });
}
STDMETHODIMP CTavFile::PutDWords(LONG lSize) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutUnits(4, lSize)); });
}
STDMETHODIMP CTavFile::PutQWords(LONG lSize) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutUnits(8, lSize)); });
}
STDMETHODIMP CTavFile::PutAll() {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutAll()); });
}
STDMETHODIMP CTavFile::PutFormat(BSTR sMessage) {
    return Guarded([&] { return static_cast<HRESULT>(core_->PutFormat(AnsiFromBstr(sMessage))); });
}

// --- searching and navigation ---

STDMETHODIMP CTavFile::FindByte(short sValue, LONG* plOffset) {
    if (plOffset == nullptr) return E_POINTER;
    return Guarded([&] {
        *plOffset = core_->Find(1, static_cast<std::uint8_t>(sValue));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::FindWord(LONG lValue, LONG* plOffset) {
    if (plOffset == nullptr) return E_POINTER;
    return Guarded([&] {
        *plOffset = core_->Find(2, static_cast<std::uint16_t>(lValue));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::FindDWord(VARIANT vValue, LONG* plOffset) {
    if (plOffset == nullptr) return E_POINTER;
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = VariantChangeType(&value, &vValue, 0, VT_I4);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        *plOffset = core_->Find(4, static_cast<std::uint32_t>(V_I4(&value)));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::FindQWord(VARIANT vValue, LONG* plOffset) {
    if (plOffset == nullptr) return E_POINTER;
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = VariantChangeType(&value, &vValue, 0, VT_I8);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        *plOffset = core_->Find(8, static_cast<std::uint64_t>(V_I8(&value)));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::Eof(VARIANT_BOOL* pulValue) {
    if (pulValue == nullptr) return E_POINTER;
    *pulValue = core_->Eof() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP CTavFile::GetOffset(VARIANT* pvOffset) {
    if (pvOffset == nullptr) return E_POINTER;
    SetDouble(static_cast<double>(core_->Offset()), pvOffset);
    return S_OK;
}

STDMETHODIMP CTavFile::Seek(VARIANT vOffset, LONG lMode) {
    // A target that cannot be had leaves the position alone; Seek itself
    // never fails.
    if (IsNonFiniteNumber(vOffset)) return S_OK;
    VARIANT offset;
    VariantInit(&offset);
    if (FAILED(VariantChangeType(&offset, &vOffset, 0, VT_I8))) return S_OK;
    core_->Seek(V_I8(&offset), lMode);
    return S_OK;
}

STDMETHODIMP CTavFile::Length(VARIANT* pvSize) {
    if (pvSize == nullptr) return E_POINTER;
    SetDouble(static_cast<double>(core_->Length()), pvSize);
    return S_OK;
}

STDMETHODIMP CTavFile::CalcCrc32(VARIANT vOffset, VARIANT vSize, VARIANT vInit, LONG lMode, VARIANT* pvCrc32) {
    if (pvCrc32 == nullptr) return E_POINTER;
    VariantInit(pvCrc32);
    // Scripts write 32-bit patterns both as unsigned numbers (JScript's
    // 0xFFFFFFFF is a double) and as negative ones (VBScript's &HFFFFFFFF is
    // -1); both mean the same bits. A value that is no 32-bit number at all
    // is refused instead of being read as whatever the variant happens to
    // hold.
    std::uint32_t offset = 0, size = 0, init = 0;
    HRESULT hr = VariantBits32(vOffset, true, &offset);
    if (SUCCEEDED(hr)) hr = VariantBits32(vSize, false, &size);
    if (SUCCEEDED(hr)) hr = VariantBits32(vInit, false, &init);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        const std::uint32_t crc = core_->CalcCrc32(static_cast<std::int32_t>(offset), size, init, lMode);
        SetDouble(static_cast<double>(crc), pvCrc32);
        return S_OK;
    });
}

// --- diagnostics ---

STDMETHODIMP CTavFile::Abort(BSTR sMessage) {
    return Guarded([&] { return static_cast<HRESULT>(core_->Abort(AnsiFromBstr(sMessage))); });
}

STDMETHODIMP CTavFile::Assert(LONG bExp, VARIANT sMessage) {
    if (bExp != 0) return S_OK;
    return Guarded([&] {
        const BSTR* text = StringIn(&sMessage);
        if (text == nullptr) return static_cast<HRESULT>(core_->Assert(0, nullptr));
        const std::string message = AnsiFromBstr(*text);
        return static_cast<HRESULT>(core_->Assert(0, &message));
    });
}

STDMETHODIMP CTavFile::Print(BSTR sMessage) {
    return Guarded([&] {
        core_->Print(AnsiFromBstr(sMessage));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::PrintIndex(BSTR sMessage) {
    return Guarded([&] {
        core_->PrintIndex(AnsiFromBstr(sMessage));
        return S_OK;
    });
}

STDMETHODIMP CTavFile::Message(BSTR sMessage) {
    return Guarded([&] {
        core_->Message(AnsiFromBstr(sMessage));
        return S_OK;
    });
}
