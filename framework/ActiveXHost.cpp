#include "framework/ActiveXHost.h"

#include <new>
#include <string>

namespace {

// A host made for a plain window of the registered class; the window owns it.
class COwnedHost final : public CActiveXHostWindow {
public:
    BOOL Adopt(HWND window) { return Attach(window, nullptr); }
    using CWindowObject::Route;

protected:
    void OnFinalMessage(HWND) override { delete this; }
};

// Only a window's first message comes here: adopting the window gives it a procedure of its own.
LRESULT CALLBACK HostClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = new (std::nothrow) COwnedHost;
    if (!host || !host->Adopt(window)) {
        delete host;
        return message == WM_NCCREATE ? FALSE : ::DefWindowProcW(window, message, wParam, lParam);
    }
    return host->Route(message, wParam, lParam);
}

}  // namespace

BOOL RegisterActiveXHostClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HostClassProc;
    wc.hInstance = FrameworkInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kActiveXHostClass;
    return ::RegisterClassExW(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HRESULT QueryHostedControl(HWND host, REFIID iid, void** out)
{
    const auto* window = dynamic_cast<CActiveXHostWindow*>(CWindowObject::FromHandle(host));
    return window ? window->QueryControl(iid, out) : SetOut(out, nullptr, E_INVALIDARG);
}

HRESULT CActiveXHostWindow::QueryControl(REFIID iid, void** out) const
{
    return m_site ? m_site->QueryControl(iid, out) : SetOut(out, nullptr, E_FAIL);
}

BOOL CActiveXHostWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        result = CreateControl() ? 0 : -1;
        return TRUE;
    case WM_SIZE:
        if (m_site)
            m_site->FitControl();
        break;
    case WM_FORWARDMSG:
        result = m_site && lParam && m_site->TranslateControlAccelerator(*reinterpret_cast<MSG*>(lParam));
        return TRUE;
    case WM_DESTROY:
        DestroyControl();
        break;
    default:
        break;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

BOOL CActiveXHostWindow::CreateControl()
{
    try {
        const std::wstring progId = GetWindowText();
        if (progId.empty())
            return TRUE;
        m_site = CreateSite();
        if (m_site && SUCCEEDED(m_site->CreateControl(m_hWnd, progId.c_str())))
            return TRUE;
    } catch (...) {
        // A derived site's failure must not cross the window procedure: the window is refused instead.
    }
    DestroyControl();
    return FALSE;
}

void CActiveXHostWindow::DestroyControl()
{
    if (const Microsoft::WRL::ComPtr<CActiveXSite> site = std::move(m_site))
        site->DestroyControl();
}
