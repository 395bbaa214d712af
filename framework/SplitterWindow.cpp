#include "framework/SplitterWindow.h"

#include <algorithm>

#include "framework/GdiOwners.h"

constexpr int kKeyStep = 10;  // pixels an arrow key moves the bar while dragging

RECT CSplitterWindowBase::Band(int from, int to) const
{
    RECT rect = GetClientRect();
    LONG& nearEdge = m_vertical ? rect.left : rect.top;
    LONG& farEdge = m_vertical ? rect.right : rect.bottom;
    farEdge = std::min<LONG>(nearEdge + to, farEdge);
    nearEdge += from;
    return rect;
}

int CSplitterWindowBase::Available() const
{
    const RECT client = GetClientRect();  // empty before the window exists
    return (m_vertical ? client.right : client.bottom) - m_barWidth;
}

int CSplitterWindowBase::Clamp(int pos, int available) const
{
    pos = std::max(std::min(pos, available - m_minPane), m_minPane);
    return std::max(0, std::min(pos, available));
}

void CSplitterWindowBase::SetSplitterPos(int pos, BOOL update)
{
    const int available = Available();
    m_pos = m_anchorPos = available > 0 ? Clamp(pos == -1 ? available / 2 : pos, available) : pos;
    m_anchorAvailable = std::max(available, 0);  // 0: anchored when the window first has a size
    if (update)
        UpdateSplitterLayout();
}

void CSplitterWindowBase::OnResize()
{
    const int available = Available();
    if (available <= 0)
        return;
    if (m_anchorAvailable <= 0) {
        m_anchorPos = m_pos == -1 ? available / 2 : m_pos;
        m_anchorAvailable = available;
    }
    int pos = m_anchorPos;
    if (m_extendedStyle & SPLIT_PROPORTIONAL)
        pos = ::MulDiv(m_anchorPos, available, m_anchorAvailable);
    else if (m_extendedStyle & SPLIT_BOTTOMALIGNED)
        pos = available - (m_anchorAvailable - m_anchorPos);
    m_pos = Clamp(pos, available);
    UpdateSplitterLayout();
}

void CSplitterWindowBase::SetSinglePaneMode(int pane)
{
    if (pane < SPLIT_PANE_NONE || pane > SPLIT_PANE_RIGHT)
        return;
    EndDrag(FALSE);
    m_singlePane = pane;
    UpdateSplitterLayout();
}

void CSplitterWindowBase::UpdateSplitterLayout()
{
    if (!m_hWnd || (m_pos < 0 && m_singlePane == SPLIT_PANE_NONE))
        return;
    const RECT bands[2] = {Band(0, m_pos), Band(m_pos + m_barWidth, LONG_MAX / 2)};
    for (int pane = 0; pane < 2; ++pane) {
        const BOOL shown = m_singlePane == SPLIT_PANE_NONE || m_singlePane == pane;
        if (!m_panes[pane])
            continue;
        ::ShowWindow(m_panes[pane], shown ? SW_SHOW : SW_HIDE);
        const RECT rect = m_singlePane == pane ? GetClientRect() : bands[pane];
        if (shown)
            CWindowRef(m_panes[pane]).SetWindowPos(nullptr, rect, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Invalidate();
}

BOOL CSplitterWindowBase::GetSplitterBarRect(RECT& rect) const
{
    if (!m_hWnd || m_singlePane != SPLIT_PANE_NONE || m_pos < 0)
        return FALSE;
    rect = Band(m_pos, m_pos + m_barWidth);
    return TRUE;
}

void CSplitterWindowBase::DragTo(int pos)
{
    pos = Clamp(pos, Available());
    if (pos == m_dragPos)
        return;
    InvertGhostBar();
    m_dragPos = pos;
    InvertGhostBar();
    if (m_fullDrag) {
        SetSplitterPos(pos, TRUE);
        UpdateWindow();
    }
}

void CSplitterWindowBase::EndDrag(BOOL keep)
{
    if (!m_dragging)
        return;
    m_dragging = FALSE;
    InvertGhostBar();
    SetSplitterPos(keep ? m_dragPos : m_startPos, TRUE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (::IsWindow(m_focusBeforeDrag) && ::GetFocus() == m_hWnd)
        ::SetFocus(m_focusBeforeDrag);
}

void CSplitterWindowBase::InvertGhostBar()
{
    if (m_fullDrag)
        return;
    static const WORD kHalftone[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    const CBitmapOwner pattern(::CreateBitmap(8, 8, 1, 1, kHalftone));
    const CBrushOwner brush(::CreatePatternBrush(pattern));
    // A cache DC without the children clipped: the ghost bar crosses the panes.
    const HDC dc = brush ? ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS) : nullptr;
    if (!dc)
        return;
    const RECT bar = Band(m_dragPos, m_dragPos + m_barWidth);
    {
        const CSelectScope select(dc, brush);
        ::PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
    }
    ::ReleaseDC(m_hWnd, dc);
}

BOOL CSplitterWindowBase::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    const POINT point = PointFromLParam(lParam);
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            OnResize();
        return FALSE;
    case WM_SETCURSOR: {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ScreenToClient(cursor);
        if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT || !IsOverBar(cursor))
            return FALSE;
        ::SetCursor(::LoadCursorW(nullptr, m_vertical ? IDC_SIZEWE : IDC_SIZENS));
        result = TRUE;
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        if (m_dragging || !IsOverBar(point))
            return FALSE;
        m_dragging = TRUE;
        m_startPos = m_dragPos = m_pos;
        m_dragOffset = Along(point) - m_pos;
        ::SetCapture(m_hWnd);
        m_focusBeforeDrag = ::SetFocus(m_hWnd);  // the keys of the drag come to the focus
        InvertGhostBar();
        return FALSE;
    case WM_MOUSEMOVE:
        if (m_dragging)
            DragTo(Along(point) - m_dragOffset);
        return FALSE;
    case WM_LBUTTONUP:
        EndDrag(TRUE);
        return FALSE;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            EndDrag(TRUE);
        return FALSE;
    case WM_KEYDOWN: {
        if (!m_dragging)
            return FALSE;
        const int step = wParam == (m_vertical ? VK_LEFT : VK_UP) ? -kKeyStep
                         : wParam == (m_vertical ? VK_RIGHT : VK_DOWN) ? kKeyStep : 0;
        if (step)
            DragTo(m_dragPos + step);
        else if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            EndDrag(wParam == VK_RETURN);
        result = 0;
        return TRUE;  // no other key acts during a drag
    }
    default:
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}
