#include "app/views/AtlBrowser.h"

#include <exdisp.h>

#include <string>

#include "app/views/QelAxHostWindowEx.h"

namespace {

// The WebBrowser's ProgID, looked up once; empty when the class is unknown.
const std::wstring& WebBrowserProgId()
{
    static const std::wstring progId = [] {
        LPOLESTR text = nullptr;
        std::wstring found;
        if (SUCCEEDED(::ProgIDFromCLSID(CLSID_WebBrowser, &text)) && text)
            found = text;
        ::CoTaskMemFree(text);
        return found;
    }();
    return progId;
}

}  // namespace

HWND CAtlBrowser::Create(HWND parent, const wchar_t* url)
{
    const std::wstring& progId = WebBrowserProgId();
    if (progId.empty())
        return nullptr;
    if (!CWindowObject::Create(parent, RECT{}, progId.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN))
        return nullptr;
    if (url && *url)
        Navigate(url);
    return m_hWnd;
}

// Given before the control is made, so that its first page reads them.
Microsoft::WRL::ComPtr<CActiveXSite> CAtlBrowser::CreateSite()
{
    Microsoft::WRL::ComPtr<CActiveXSite> site = CQelAxHostWindowEx::Create();
    if (site) {
        site->SetDocHostFlags(GetHostFlags());
        site->SetAllowContextMenu(m_noContextMenu > 0 ? FALSE : TRUE);
    }
    return site;
}

BOOL CAtlBrowser::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    switch (message) {
    case WM_CREATE: {
        CActiveXHostWindow::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
        Microsoft::WRL::ComPtr<IUnknown> control;
        if (result == 0 && SUCCEEDED(QueryControl(IID_PPV_ARGS(&control))))
            AttachWebBrowser(control.Get());
        return TRUE;
    }
    case WM_DESTROY:
        DetachWebBrowser();
        break;
    default:
        break;
    }
    return CActiveXHostWindow::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
