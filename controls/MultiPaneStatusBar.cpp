#include "controls/MultiPaneStatusBar.h"

#include "foundation/ThemeHelper.h"

CWindowClassInfo& CQelMultiPaneStatusBar::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_MultiPaneStatusBar", STATUSCLASSNAMEW, ICC_BAR_CLASSES};
    return info;
}

void CQelMultiPaneStatusBar::SetPaneWindow(UINT paneId, HWND window, int height)
{
    m_paneWindows[paneId] = PaneWindow{window, height < 0 ? -1 : height};
}

HWND CQelMultiPaneStatusBar::GetPaneWindow(UINT paneId) const
{
    const auto found = m_paneWindows.find(paneId);
    return found == m_paneWindows.end() ? nullptr : found->second.window;
}

int CQelMultiPaneStatusBar::GetPaneWindowHeight(UINT paneId) const
{
    const auto found = m_paneWindows.find(paneId);
    return found == m_paneWindows.end() ? -1 : found->second.height;
}

BOOL CQelMultiPaneStatusBar::UpdateLayout()
{
    if (!m_hWnd)
        return FALSE;
    // Asked once: the bar keeps the look it started with when the user switches styles later.
    static const BOOL themed = QelGlobals::CQelThemeHelper().IsAppThemed();
    const BOOL laidOut = CStatusBarPanes::UpdateLayout();
    for (const auto& [id, pane] : m_paneWindows) {
        if (!pane.window)
            continue;
        RECT rect{};
        GetPaneRect(id, rect);
        rect.left += 2;
        rect.right -= 2;
        if (themed) {
            rect.top = 1;
        } else {
            rect.top += 1;
            rect.bottom -= 1;
        }
        if (GetPaneIcon(id))
            rect.left += 20;
        if (pane.height >= 0) {
            rect.top += (rect.bottom - rect.top - pane.height) / 2;
            rect.bottom = rect.top + pane.height;
        }
        ::SetWindowPos(pane.window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER);
    }
    OnLayoutChanged();
    return laidOut;
}
