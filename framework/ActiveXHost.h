#pragma once
// A window hosting one ActiveX control, the one its window text names (a ProgID) when
// the window is created. Creation fails when the control cannot be made, leaving
// nothing behind; an empty text gives an empty host.
//
//   RegisterActiveXHostClass();   // once at start-up, for plain windows of kActiveXHostClass
//   class CBrowser : public CActiveXHostWindow { ... };   // WM_CREATE: chain first, then QueryControl
//   browser.Create(parent, rect, L"Shell.Explorer.2");
//
// WM_FORWARDMSG (lParam a MSG*) lets the control translate its own keys; WM_SIZE fits
// the control to the window; WM_DESTROY deactivates, closes and releases it. A host that
// answers more interfaces to its control, or sets its host flags, overrides CreateSite.
#include <windows.h>
#include <wrl/client.h>

#include "framework/ActiveXIds.h"
#include "framework/ActiveXSite.h"
#include "framework/WindowObject.h"

inline constexpr wchar_t kActiveXHostClass[] = L"TessaryActiveXHost";

// Registers kActiveXHostClass, whose windows own their host object; TRUE when registered.
BOOL RegisterActiveXHostClass();
// The control hosted by a window of an ActiveX host; E_INVALIDARG for any other window.
HRESULT QueryHostedControl(HWND host, REFIID iid, void** out);

class CActiveXHostWindow : public CWindowObject {
public:
    ~CActiveXHostWindow() override { DestroyControl(); }

    // E_FAIL while no control is hosted.
    HRESULT QueryControl(REFIID iid, void** out) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    // The site for this window's control: a CActiveXSiteObject, empty when out of memory.
    virtual Microsoft::WRL::ComPtr<CActiveXSite> CreateSite() { return CPlainActiveXSite::Create(); }

private:
    BOOL CreateControl();
    void DestroyControl();

    Microsoft::WRL::ComPtr<CActiveXSite> m_site;
};
