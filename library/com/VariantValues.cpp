#include "library/com/VariantValues.h"

void SetDouble(double value, VARIANT* target) {
    V_VT(target) = VT_R8;
    V_R8(target) = value;
}

void SetUnitResult(const velda::UnitValue& value, VARIANT* target) {
    if (value.isError) {
        // A quad word that a double cannot carry exactly is no number at all
        // for the script; the marker says why.
        V_VT(target) = VT_ERROR;
        V_ERROR(target) = DISP_E_OVERFLOW;
        return;
    }
    SetDouble(value.number, target);
}

void SetUnsignedUnit(unsigned width, std::uint64_t value, VARIANT* target) {
    switch (width) {
    case 1:
        V_VT(target) = VT_UI1;
        V_UI1(target) = static_cast<BYTE>(value);
        break;
    case 2:
        V_VT(target) = VT_UI2;
        V_UI2(target) = static_cast<USHORT>(value);
        break;
    case 4:
        V_VT(target) = VT_UI4;
        V_UI4(target) = static_cast<ULONG>(value);
        break;
    default:
        V_VT(target) = VT_UI8;
        V_UI8(target) = value;
        break;
    }
}

VARTYPE ArrayElementType(unsigned width) {
    switch (width) {
    case 1: return VT_I2;
    case 2: return VT_I4;
    case 4: return VT_R8;
    default: return VT_I8;
    }
}

HRESULT ConvertUnsigned(std::uint64_t value, VARTYPE type, VARIANT* target) {
    // The typed conversions check the range themselves; VariantChangeType
    // from VT_UI8 to VT_I8 does not on every system and would hand out a
    // negative number for 2^63 and above.
    VariantInit(target);
    HRESULT hr = DISP_E_TYPEMISMATCH;
    switch (type) {
    case VT_I2:
        hr = VarI2FromUI8(value, &V_I2(target));
        break;
    case VT_I4:
        hr = VarI4FromUI8(value, &V_I4(target));
        break;
    case VT_R8:
        hr = VarR8FromUI8(value, &V_R8(target));
        break;
    case VT_I8:
        hr = VarI8FromUI8(value, &V_I8(target));
        break;
    default:
        break;
    }
    if (SUCCEEDED(hr)) V_VT(target) = type;
    return hr;
}

HRESULT VariantBits32(const VARIANT& value, bool preferSigned, std::uint32_t* bits) {
    VARIANT converted;
    VariantInit(&converted);
    const VARTYPE first = preferSigned ? VT_I4 : VT_UI4;
    const VARTYPE second = preferSigned ? VT_UI4 : VT_I4;
    HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, first);
    if (FAILED(hr)) hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, second);
    if (FAILED(hr)) return hr;
    // VT_I4 and VT_UI4 share the same 32 bits.
    *bits = V_UI4(&converted);
    return S_OK;
}
