#pragma once
// A stand-in for the page document Wine's browser never has, for print and zoom.
#include <windows.h>
#include <docobj.h>
#include <mshtmcid.h>
#include <mshtmhst.h>

#include <vector>

#include "framework/ActiveXIds.h"
#include "framework/ComObject.h"

// A document whose command target records each call and answers with set values.
class CFakeDocument final : public CComObjectBase<CFakeDocument, IDispatch, IOleCommandTarget> {
public:
    struct CCall {
        bool mshtml;
        DWORD id;
        DWORD option;
        LONG in;
    };
    std::vector<CCall> calls;
    DWORD status = 0;       // what QueryStatus reports
    LONG zoom = 0;          // what the zoom query answers
    HRESULT result = S_OK;  // what Exec returns

    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD commands[], OLECMDTEXT*) override
    {
        if (!group || !IsEqualGUID(*group, CGID_MSHTML) || count != 1)
            return OLECMDERR_E_UNKNOWNGROUP;
        commands[0].cmdf = status;
        return S_OK;
    }
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override
    {
        calls.push_back({group && IsEqualGUID(*group, CGID_MSHTML), id, option, in && in->vt == VT_I4 ? in->lVal : -1});
        if (out) {
            out->vt = VT_I4;
            out->lVal = zoom;
        }
        return result;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};
