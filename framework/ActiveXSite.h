#pragma once
// The one object an ActiveX control sees of its host: client site, in-place site and
// frame, control site, the page's host UI handler (host flags, context menu) and the
// ambient properties. The host window (ActiveXHost.h) makes one per control; a host
// that answers more interfaces derives its own site and lists them:
//
//   class CQuietSite : public CActiveXSiteObject<CQuietSite, IOleCommandTarget> { ... Exec ... };
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <mshtmhst.h>
#include <wrl/client.h>

#include "framework/ComObject.h"
#include "framework/WindowRef.h"

class CActiveXSite : public IOleClientSite,
                     public IOleInPlaceSite,
                     public IOleControlSite,
                     public IOleInPlaceFrame,
                     public IDocHostUIHandler,
                     public IDispatch {
public:
    // One IUnknown for holders of ComPtr<CActiveXSite>; the site object's CComObjectBase implements it.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override = 0;
    STDMETHODIMP_(ULONG) AddRef() override = 0;
    STDMETHODIMP_(ULONG) Release() override = 0;

    // Creates the control of that ProgID in the window and activates it in place;
    // on failure nothing of the control is kept.
    HRESULT CreateControl(HWND window, const wchar_t* progId);
    // Deactivates, closes and releases the control, which then lets go of the site.
    void DestroyControl();
    HRESULT QueryControl(REFIID iid, void** out) const;
    // The active control's own accelerators; TRUE when it consumed the message.
    BOOL TranslateControlAccelerator(MSG& message);
    void FitControl();  // to the window's client area

    void SetDocHostFlags(DWORD flags) { m_docHostFlags = flags; }
    void SetAllowContextMenu(BOOL allow) { m_allowContextMenu = allow; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override { return SetOut(moniker, nullptr, E_NOTIMPL); }
    STDMETHODIMP GetContainer(IOleContainer** container) override { return SetOut(container, nullptr, E_NOINTERFACE); }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override { return SetOut(window, m_window, m_window ? S_OK : E_FAIL); }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_window ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* frameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override
    {
        m_activeObject.Reset();
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(const RECT*) override { return S_OK; }
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** control) override { return SetOut(control, nullptr, E_NOTIMPL); }
    STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool bars or menus to share.
    STDMETHODIMP GetBorder(RECT*) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override
    {
        m_activeObject = object;
        return S_OK;
    }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }  // also IDocHostUIHandler's
    STDMETHODIMP TranslateAccelerator(MSG*, WORD) override { return S_FALSE; }
    // IDocHostUIHandler: S_OK from ShowContextMenu means the host has shown the menu, so the page shows none.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override
    {
        return m_allowContextMenu ? S_FALSE : S_OK;
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override { return S_FALSE; }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(MSG*, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override { return SetOut(key, nullptr, S_FALSE); }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** drop) override { return SetOut(drop, nullptr, E_NOTIMPL); }
    STDMETHODIMP GetExternal(IDispatch** external) override { return SetOut(external, nullptr, S_FALSE); }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* url) override { return SetOut(url, nullptr, S_FALSE); }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** data) override { return SetOut(data, nullptr, S_FALSE); }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return SetOut(count, 0u, S_OK); }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return SetOut(info, nullptr, E_NOTIMPL); }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

protected:
    ~CActiveXSite() = default;

private:
    RECT ClientRect() const { return CWindowRef(m_window).GetClientRect(); }

    HWND m_window = nullptr;
    Microsoft::WRL::ComPtr<IOleObject> m_control;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> m_activeObject;
    DWORD m_docHostFlags = 0;
    BOOL m_allowContextMenu = TRUE;
};
// Site objects list this class among their interfaces, so it has a private IID.
__CRT_UUID_DECL(CActiveXSite, 0xa38febad, 0x9716, 0x4438, 0xa2, 0xb2, 0x4a, 0xc4, 0xaf, 0xa1, 0x89, 0x93)

// A site object; More lists the interfaces a derived host adds.
template <class Derived, class... More>
using CActiveXSiteObject =
    CComObjectBase<Derived, IOleClientSite, CActiveXSite, IOleWindow, IOleInPlaceSite, IOleControlSite,
                   IOleInPlaceUIWindow, IOleInPlaceFrame, IDocHostUIHandler, IDispatch, More...>;

class CPlainActiveXSite final : public CActiveXSiteObject<CPlainActiveXSite> {};
