#include "framework/DialogResizer.h"

#include <algorithm>

#include "framework/WindowRef.h"

constexpr INT_PTR kGripperId = 0x7FFF;

void CDialogResizer::InitResizing(HWND dialog, const std::vector<CResizeRule>& rules, BOOL gripper)
{
    const CWindowRef window(dialog);
    window.ModifyStyle(0, WS_CLIPCHILDREN);
    const RECT client = window.GetClientRect();
    m_initialClient = SIZE{client.right, client.bottom};
    const RECT outer = window.GetWindowRect();
    m_minTrack = SIZE{outer.right - outer.left, outer.bottom - outer.top};

    m_controls.clear();
    for (const CResizeRule& rule : rules) {
        const CWindowRef control(window.GetDlgItem(rule.id));
        if (control.IsWindow())
            m_controls.push_back(Control{control, rule.flags, control.GetRectInParent()});
    }

    m_gripper = nullptr;
    if (gripper) {
        m_gripper = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP,
                                      0, 0, ::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL),
                                      dialog, reinterpret_cast<HMENU>(kGripperId), nullptr, nullptr);
    }
    Layout(dialog, client.right, client.bottom, FALSE);  // puts the gripper in the corner
}

void CDialogResizer::Layout(HWND dialog, int width, int height, BOOL maximized) const
{
    const int dx = width - m_initialClient.cx;
    const int dy = height - m_initialClient.cy;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    for (const Control& control : m_controls) {
        RECT rect = control.initial;
        ::OffsetRect(&rect, (control.flags & kResizeMoveX) ? dx : 0, (control.flags & kResizeMoveY) ? dy : 0);
        if (control.flags & kResizeSizeX)
            rect.right = std::max(rect.left, rect.right + dx);
        if (control.flags & kResizeSizeY)
            rect.bottom = std::max(rect.top, rect.bottom + dy);
        CWindowRef(control.window).SetWindowPos(nullptr, rect, flags);
    }
    if (m_gripper) {
        const RECT grip = CWindowRef(m_gripper).GetClientRect();
        // A maximised dialog cannot be sized by its corner.
        CWindowRef(m_gripper).SetWindowPos(nullptr, RECT{width - grip.right, height - grip.bottom, width, height},
                                           flags | (maximized ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    }
    ::InvalidateRect(dialog, nullptr, TRUE);
}

BOOL CDialogResizer::ProcessResizing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            Layout(dialog, LOWORD(lParam), HIWORD(lParam), wParam == SIZE_MAXIMIZED);
        return FALSE;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const auto limit = [](LONG& size, LONG wanted) { size = wanted > 0 ? wanted : size; };
        limit(info->ptMinTrackSize.x, m_minTrack.cx);
        limit(info->ptMinTrackSize.y, m_minTrack.cy);
        limit(info->ptMaxTrackSize.x, m_maxTrack.cx);
        limit(info->ptMaxTrackSize.y, m_maxTrack.cy);
        result = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}
