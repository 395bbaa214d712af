#include "framework/FrameWindow.h"

#include <commctrl.h>

#include <algorithm>

HWND CFrameWindowObject::CreateFrame(const RECT& rect)
{
    wchar_t title[256]{};
    ::LoadStringW(FrameworkInstance(), kResourceId, title, sizeof title / sizeof title[0]);
    return Create(nullptr, rect, title);
}

CWindowClassInfo& CFrameWindowObject::GetWindowClassInfo()
{
    static CWindowClassInfo info = [] {
        CWindowClassInfo frame;
        frame.iconId = kResourceId;
        return frame;
    }();
    return info;
}

void CFrameWindowObject::UpdateLayout()
{
    // Their own visibility bits: the frame itself is still hidden while it lays out its first size.
    const auto shown = [](const CWindowRef& bar) { return bar.IsWindow() && (bar.GetStyle() & WS_VISIBLE) != 0; };
    RECT rect = GetClientRect();
    const CWindowRef toolBar(m_toolBar);
    if (shown(toolBar)) {
        toolBar.SendMessage(WM_SIZE);
        const RECT bar = toolBar.GetWindowRect();
        rect.top += bar.bottom - bar.top;
    }

    const CWindowRef statusBar(m_statusBar);
    if (shown(statusBar) || (statusBar.IsWindow() && m_statusBarCrowdedOut)) {
        statusBar.SendMessage(WM_SIZE);
        const RECT bar = statusBar.GetWindowRect();
        const int height = bar.bottom - bar.top;
        const BOOL fits = height <= rect.bottom - rect.top;
        if (fits)
            rect.bottom -= height;
        statusBar.SetWindowPos(nullptr, RECT{rect.left, rect.bottom, rect.right, rect.bottom + height},
                               SWP_NOZORDER | SWP_NOACTIVATE | (fits ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        m_statusBarCrowdedOut = !fits;
    }

    rect.bottom = std::max(rect.top, rect.bottom);
    if (::IsWindow(m_client))
        CWindowRef(m_client).SetWindowPos(nullptr, rect, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFrameWindowObject::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            UpdateLayout();
        return FALSE;
    case WM_DESTROY:
        ::PostQuitMessage(1);
        return FALSE;
    default:
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}

BOOL CFrameWindowObject::OnIdle()
{
    for (const HWND bar : m_toolBars) {
        for (const auto& [id, state] : m_commands) {
            ::SendMessageW(bar, TB_ENABLEBUTTON, id, MAKELPARAM(state.enabled, 0));
            ::SendMessageW(bar, TB_CHECKBUTTON, id, MAKELPARAM(state.checked, 0));
        }
    }
    return FALSE;
}
