#include "app/frame/ControlContainer.h"

void CQelControlContainer::ShowChild(HWND child)
{
    for (HWND window = ::GetWindow(m_hWnd, GW_CHILD); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (window != child)
            ::ShowWindow(window, SW_HIDE);
    }
    ::ShowWindow(child, SW_SHOW);
    ::SetFocus(child);
}

BOOL CQelControlContainer::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    if (message == WM_SIZE) {
        const RECT client = GetClientRect();
        for (HWND window = ::GetWindow(m_hWnd, GW_CHILD); window; window = ::GetWindow(window, GW_HWNDNEXT))
            CWindowRef(window).SetWindowPos(nullptr, client, SWP_NOZORDER | SWP_NOACTIVATE);
        return FALSE;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

CWindowClassInfo& CQelControlContainer::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_ControlContainer", nullptr, 0};
    return info;
}
