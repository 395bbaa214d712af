#pragma once
// Bytes into a one-dimensional VT_ARRAY | VT_UI1 safe array, the shape automation
// calls use for binary data such as a browser's post data (EventBytes reads one).
#include <windows.h>
#include <oleauto.h>

#include <cstring>

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

