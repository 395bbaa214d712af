#include "framework/WindowRef.h"

#include <algorithm>

BOOL CWindowRef::CenterWindow(HWND over) const
{
    const BOOL child = (GetStyle() & WS_CHILD) != 0;
    if (!over)
        over = child ? GetParent() : ::GetWindow(m_hWnd, GW_OWNER);
    // A child is centred in its parent. A top-level window stays within the work area and is
    // centred on it when the window to centre over is hidden, minimised or the desktop.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT bounds = child ? CWindowRef(GetParent()).GetClientRect() : monitor.rcWork;
    const BOOL useOver =
        !child && over && over != ::GetDesktopWindow() && ::IsWindowVisible(over) && !::IsIconic(over);
    const RECT centre = useOver ? CWindowRef(over).GetWindowRect() : bounds;

    const RECT own = GetWindowRect();  // only its size counts
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    // Within the bounds, the top-left corner first when the window is larger than they are.
    const int left = std::max(bounds.left, std::min((centre.left + centre.right - width) / 2, bounds.right - width));
    const int top = std::max(bounds.top, std::min((centre.top + centre.bottom - height) / 2, bounds.bottom - height));
    return ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
