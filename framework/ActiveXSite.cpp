#include "framework/ActiveXSite.h"

#include <olectl.h>

#include <utility>

using Microsoft::WRL::ComPtr;

namespace {

template <class T>
HRESULT ClearOut(T** out, HRESULT result)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return result;
}

}  // namespace

HRESULT CActiveXSite::CreateControl(HWND window, const wchar_t* progId)
{
    if (m_control || !progId)
        return E_UNEXPECTED;
    CLSID clsid{};
    HRESULT result = ::CLSIDFromProgID(progId, &clsid);
    ComPtr<IOleObject> control;
    if (SUCCEEDED(result))
        result = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control));
    if (FAILED(result))
        return result;
    m_window = window;
    m_control = control;
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(control.As(&persist)))
        result = persist->InitNew();
    if (SUCCEEDED(result))
        result = control->SetClientSite(this);
    if (SUCCEEDED(result))
        result = control->SetHostNames(L"ActiveXHost", nullptr);
    if (SUCCEEDED(result)) {
        RECT rect = ClientRect();
        result = control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, window, &rect);
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
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return m_control ? m_control->QueryInterface(iid, out) : E_FAIL;
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

RECT CActiveXSite::ClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_window, &rect);
    return rect;
}

// IOleClientSite
STDMETHODIMP CActiveXSite::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) { return ClearOut(moniker, E_NOTIMPL); }
STDMETHODIMP CActiveXSite::GetContainer(IOleContainer** container) { return ClearOut(container, E_NOINTERFACE); }
STDMETHODIMP CActiveXSite::ShowObject() { return S_OK; }
STDMETHODIMP CActiveXSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleWindow
STDMETHODIMP CActiveXSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
}
STDMETHODIMP CActiveXSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IOleInPlaceSite
STDMETHODIMP CActiveXSite::CanInPlaceActivate() { return m_window ? S_OK : S_FALSE; }
STDMETHODIMP CActiveXSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP CActiveXSite::OnUIActivate() { return S_OK; }

STDMETHODIMP CActiveXSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                            RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* frameInfo)
{
    if (!frame || !document || !position || !clip)
        return E_POINTER;
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = *clip = ClientRect();
    if (frameInfo) {
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = ::GetAncestor(m_window, GA_ROOT);
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP CActiveXSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::OnInPlaceDeactivate()
{
    m_activeObject.Reset();
    return S_OK;
}
STDMETHODIMP CActiveXSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::OnPosRectChange(const RECT*) { return S_OK; }

// IOleControlSite
STDMETHODIMP CActiveXSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXSite::LockInPlaceActive(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::GetExtendedControl(IDispatch** control) { return ClearOut(control, E_NOTIMPL); }
STDMETHODIMP CActiveXSite::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP CActiveXSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::ShowPropertyFrame() { return E_NOTIMPL; }

// IOleInPlaceUIWindow and IOleInPlaceFrame: no tool bars or menus to share.
STDMETHODIMP CActiveXSite::GetBorder(RECT*) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CActiveXSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CActiveXSite::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    m_activeObject = object;
    return S_OK;
}
STDMETHODIMP CActiveXSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CActiveXSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CActiveXSite::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP CActiveXSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CActiveXSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::TranslateAccelerator(MSG*, WORD) { return S_FALSE; }

// IDocHostUIHandler: S_OK means the host has shown the menu, so the page shows none.
STDMETHODIMP CActiveXSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return m_allowContextMenu ? S_FALSE : S_OK;
}

STDMETHODIMP CActiveXSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info)
        return E_POINTER;
    info->dwFlags = m_docHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CActiveXSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                  IOleInPlaceUIWindow*)
{
    return S_FALSE;
}
STDMETHODIMP CActiveXSite::HideUI() { return S_OK; }
STDMETHODIMP CActiveXSite::UpdateUI() { return S_OK; }
STDMETHODIMP CActiveXSite::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP CActiveXSite::TranslateAccelerator(MSG*, const GUID*, DWORD) { return S_FALSE; }
STDMETHODIMP CActiveXSite::GetOptionKeyPath(LPOLESTR* key, DWORD) { return ClearOut(key, S_FALSE); }
STDMETHODIMP CActiveXSite::GetDropTarget(IDropTarget*, IDropTarget** replacement)
{
    return ClearOut(replacement, E_NOTIMPL);
}
STDMETHODIMP CActiveXSite::GetExternal(IDispatch** external) { return ClearOut(external, S_FALSE); }
STDMETHODIMP CActiveXSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) { return ClearOut(translated, S_FALSE); }
STDMETHODIMP CActiveXSite::FilterDataObject(IDataObject*, IDataObject** replacement)
{
    return ClearOut(replacement, S_FALSE);
}

// IDispatch: the control runs as in a finished program, without design-time marks.
STDMETHODIMP CActiveXSite::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}
STDMETHODIMP CActiveXSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return ClearOut(info, E_NOTIMPL); }
STDMETHODIMP CActiveXSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP CActiveXSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                  UINT*)
{
    if (!(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
        ::VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = id == DISPID_AMBIENT_USERMODE ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
