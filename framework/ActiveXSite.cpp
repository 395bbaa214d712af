#include "framework/ActiveXSite.h"

#include <olectl.h>

#include <utility>

using Microsoft::WRL::ComPtr;

HRESULT CActiveXSite::CreateControl(HWND window, const wchar_t* progId)
{
    if (m_control || !progId)
        return E_UNEXPECTED;
    CLSID clsid{};
    HRESULT result = ::CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(result))
        result = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_control));
    if (FAILED(result))
        return result;
    m_window = window;
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(m_control.As(&persist)))
        result = persist->InitNew();
    if (SUCCEEDED(result))
        result = m_control->SetClientSite(this);
    if (SUCCEEDED(result))
        result = m_control->SetHostNames(L"ActiveXHost", nullptr);
    if (SUCCEEDED(result)) {
        RECT rect = ClientRect();
        result = m_control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window, &rect);
    }
    if (FAILED(result))
        DestroyControl();
    return result;
}

void CActiveXSite::DestroyControl()
{
    // Released before the calls below return control to the page, so no call comes back in.
    const ComPtr<IOleObject> control = std::move(m_control);
    m_activeObject.Reset();
    if (control) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(control.As(&inPlace)))
            inPlace->InPlaceDeactivate();
        control->Close(OLECLOSE_NOSAVE);
        control->SetClientSite(nullptr);
    }
    m_window = nullptr;
}

HRESULT CActiveXSite::QueryControl(REFIID iid, void** out) const
{
    return m_control ? m_control->QueryInterface(iid, out) : SetOut(out, nullptr, E_FAIL);
}

BOOL CActiveXSite::TranslateControlAccelerator(MSG& message)
{
    ComPtr<IOleInPlaceActiveObject> active = m_activeObject;
    if (!active && m_control)
        m_control.As(&active);
    return active && active->TranslateAccelerator(&message) == S_OK;
}

void CActiveXSite::FitControl()
{
    ComPtr<IOleInPlaceObject> inPlace;
    if (m_control && SUCCEEDED(m_control.As(&inPlace))) {
        const RECT rect = ClientRect();
        inPlace->SetObjectRects(&rect, &rect);
    }
}

STDMETHODIMP CActiveXSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                            RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* frameInfo)
{
    if (!frame || !document || !position || !clip)
        return E_POINTER;
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = *clip = ClientRect();
    if (frameInfo)
        *frameInfo = {frameInfo->cb, FALSE, ::GetAncestor(m_window, GA_ROOT), nullptr, 0};
    return S_OK;
}

STDMETHODIMP CActiveXSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info)
        return E_POINTER;
    info->dwFlags = m_docHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

// The control runs as in a finished program, without design-time marks.
STDMETHODIMP CActiveXSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                  UINT*)
{
    const bool known =
        id == DISPID_AMBIENT_USERMODE || id == DISPID_AMBIENT_SHOWHATCHING || id == DISPID_AMBIENT_SHOWGRABHANDLES;
    if (!known || !(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    ::VariantInit(result);
    result->vt = VT_BOOL;
    result->boolVal = id == DISPID_AMBIENT_USERMODE ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
