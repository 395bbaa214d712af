#pragma once
// Bytes in and out of a one-dimensional VT_ARRAY | VT_UI1 safe array, the shape
// automation calls use for binary data such as a browser's post data.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <vector>

#include "framework/Variant.h"

// Copies the bytes into a new array held by value; E_OUTOFMEMORY when it cannot be made.
inline HRESULT MakeByteArray(const void* bytes, ULONG count, CVariant& value)
{
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, count);
    if (!array)
        return E_OUTOFMEMORY;
    if (count)
        std::memcpy(array->pvData, bytes, count);  // a new array nobody else has locked
    VARIANT* out = value.Receive();
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
    return S_OK;
}

// The bytes of a one-dimensional byte array, held or by reference; FALSE for any other value.
inline BOOL ReadByteArray(const VARIANT& value, std::vector<BYTE>& bytes)
{
    SAFEARRAY* array = nullptr;
    if (value.vt == (VT_ARRAY | VT_UI1))
        array = value.parray;
    else if (value.vt == (VT_BYREF | VT_ARRAY | VT_UI1) && value.pparray)
        array = *value.pparray;
    if (!array || ::SafeArrayGetDim(array) != 1 || ::SafeArrayGetElemsize(array) != 1)
        return FALSE;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(::SafeArrayGetLBound(array, 1, &lower)) || FAILED(::SafeArrayGetUBound(array, 1, &upper)))
        return FALSE;
    // Sized before the array is locked, so a failed allocation leaves no lock behind.
    bytes.resize(static_cast<size_t>(upper + 1 - lower));
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data)))
        return FALSE;
    if (!bytes.empty())
        std::memcpy(bytes.data(), data, bytes.size());
    ::SafeArrayUnaccessData(array);
    return TRUE;
}
