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

class CActiveXSite : public IOleClientSite,
                     public IOleInPlaceSite,
                     public IOleControlSite,
                     public IOleInPlaceFrame,
                     public IDocHostUIHandler,
                     public IDispatch {
public:
    // One IUnknown for callers holding the site itself (ComPtr<CActiveXSite>); the site
    // object's CComObjectBase implements it.
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
    // Fits the control to the window's client area.
    void FitControl();

    void SetDocHostFlags(DWORD flags) { m_docHostFlags = flags; }
    void SetAllowContextMenu(BOOL allow) { m_allowContextMenu = allow; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(const RECT* position) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** control) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;
    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(RECT* border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;  // also IDocHostUIHandler's
    STDMETHODIMP TranslateAccelerator(MSG* message, WORD id) override;
    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* object, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(const RECT* border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(MSG* message, const GUID* group, DWORD id) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

protected:
    CActiveXSite() = default;
    ~CActiveXSite() = default;

private:
    RECT ClientRect() const;

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
