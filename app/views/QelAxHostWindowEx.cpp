#include "app/views/QelAxHostWindowEx.h"

#include "framework/ActiveXIds.h"

STDMETHODIMP CQelAxHostWindowEx::Exec(const GUID* group, DWORD id, DWORD, VARIANT*, VARIANT* out)
{
    if (!group || !IsEqualGUID(*group, CGID_DocHostCommandHandler))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (id != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    // The answer is whether the page's scripts go on; the dialog is not shown either way.
    if (out) {
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
