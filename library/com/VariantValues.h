// The variant shapes that the File object hands to scripts: numbers as
// doubles, the error marker of an unrepresentable quad word, unsigned units,
// and one-dimensional arrays of variants built by the standard conversion.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <vector>

#include "library/core/FileCore.h"

// A number as VT_R8, or the VT_ERROR marker when the core says the value
// cannot be given as a number. target must hold nothing that needs freeing.
void SetUnitResult(const velda::UnitValue& value, VARIANT* target);
void SetDouble(double value, VARIANT* target);

// The unsigned unit of width 1, 2, 4 or 8 bytes as VT_UI1 .. VT_UI8.
void SetUnsignedUnit(unsigned width, std::uint64_t value, VARIANT* target);

// The array element type for a unit width: 1 VT_I2, 2 VT_I4, 4 VT_R8, 8 VT_I8.
VARTYPE ArrayElementType(unsigned width);

// Converts an unsigned 64-bit value to VT_I2, VT_I4, VT_R8 or VT_I8 by the
// standard typed conversion; a value out of range fails with DISP_E_OVERFLOW
// and leaves target empty.
HRESULT ConvertUnsigned(std::uint64_t value, VARTYPE type, VARIANT* target);

// A VT_ARRAY | VT_VARIANT array with lower bound 0 and count elements;
// fill(i, element) sets element i. The first failing fill ends the build and
// its HRESULT is returned; target is set only on success.
template <class Fill>
HRESULT BuildVariantArray(std::size_t count, Fill fill, VARIANT* target);

// The 32 bits of a script number: converted as unsigned first, then as
// signed (so -1 gives 0xFFFFFFFF, as VBScript writes &HFFFFFFFF). A value
// that is neither fails with the conversion's error.
HRESULT VariantBits32(const VARIANT& value, bool preferSigned, std::uint32_t* bits);

#include "library/com/VariantValues.inl"
