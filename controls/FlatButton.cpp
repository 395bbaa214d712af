#include "controls/FlatButton.h"

#include <commctrl.h>

#include <string>

#include "controls/PaintingHelpers.h"
#include "framework/GdiOwners.h"

int CQelVistaFlatButtonImpl::GetIdealWidth() const
{
    if (!IsWindow())
        return 20;
    const std::wstring caption = GetWindowText();
    const CWindowDc dc(m_hWnd);
    const CSelectScope font(dc, GetFont());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    return extent.cx + 10;
}

BOOL CQelVistaFlatButtonImpl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                   LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        OnInitControl();
        return FALSE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        // After the default: the system button paints owner-drawn buttons on these itself.
        result = DefWindowProc();
        if (message != WM_ENABLE)
            m_flags = message == WM_SETFOCUS ? (m_flags | kFocus) : (m_flags & ~kFocus);
        Repaint();
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (::GetCapture() != m_hWnd)
            ::SetCapture(m_hWnd);
        if (::GetCapture() == m_hWnd)
            SetFlag(kPressed, true);
        result = 0;
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        return FALSE;
    case WM_MOUSELEAVE:
        SetFlag(kHover, false);
        result = 0;
        return TRUE;
    case WM_LBUTTONUP:
        OnButtonUp();
        result = 0;
        return TRUE;
    case WM_CAPTURECHANGED:
        SetFlag(kPressed, false);
        return FALSE;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            return FALSE;
        result = 0;
        return TRUE;
    case WM_UPDATEUISTATE:
        result = 0;
        return TRUE;
    case WM_SETTEXT:
        result = DefWindowProc();
        FitCaption();
        Repaint();
        return TRUE;
    default:
        if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
            return TRUE;
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}

BOOL CQelVistaFlatButtonImpl::OnInitControl()
{
    ModifyStyle(0, BS_OWNERDRAW);
    return TRUE;
}

CQelVistaFlatButtonImpl::VisualState CQelVistaFlatButtonImpl::GetVisualState() const
{
    if (!IsWindowEnabled())
        return StateDisabled;
    if (m_flags & kPressed)
        return StatePressed;
    return (m_flags & kHover) ? StateHot : StateNormal;
}

void CQelVistaFlatButtonImpl::SetFlag(UINT flag, bool on)
{
    const UINT flags = on ? (m_flags | flag) : (m_flags & ~flag);
    if (flags == m_flags)
        return;
    m_flags = flags;
    Repaint();
}

void CQelVistaFlatButtonImpl::Repaint()
{
    Invalidate(TRUE);
    UpdateWindow();
}

void CQelVistaFlatButtonImpl::OnMouseMove(POINT point)
{
    if (::GetCapture() == m_hWnd) {
        ClientToScreen(point);
        const RECT window = GetWindowRect();
        SetFlag(kPressed, ::PtInRect(&window, point) != FALSE);
        return;
    }
    if (m_flags & kHover)
        return;
    SetFlag(kHover, true);
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
    ::_TrackMouseEvent(&track);
}

void CQelVistaFlatButtonImpl::OnButtonUp()
{
    if (::GetCapture() != m_hWnd)
        return;
    if (m_flags & kPressed) {
        // Locals only from here: the parent may destroy the button while it handles the click.
        const HWND button = m_hWnd;
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
    ::ReleaseCapture();
}

void CQelVistaFlatButtonImpl::FitCaption()
{
    const LONG_PTR style = GetStyle();
    const RECT rect = GetRectInParent();
    const int width = GetIdealWidth();
    const int height = rect.bottom - rect.top;
    if (style & BS_LEFT)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (style & BS_RIGHT)
        ::SetWindowPos(m_hWnd, nullptr, rect.right - width, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQelVistaFlatButtonImpl::DoPaint(HDC dc)
{
    const RECT client = GetClientRect();
    switch (GetVisualState()) {
    case StateHot:
        QelDrawFlatButtonFace(dc, client, TRUE);
        break;
    case StatePressed:
        QelDrawFlatButtonFace(dc, client, FALSE);
        break;
    default:
        QelFillSolidRect(dc, client, ::GetSysColor(COLOR_WINDOW));
        break;
    }
    const LONG_PTR style = GetStyle();
    UINT align = DT_CENTER;
    if (style & BS_LEFT)
        align = DT_LEFT;
    else if (style & BS_RIGHT)
        align = DT_RIGHT;
    const std::wstring caption = GetWindowText();
    RECT textRect = client;
    ::InflateRect(&textRect, -4, 0);
    const CSelectScope font(dc, GetFont());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, caption.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | align);
    ::SetBkMode(dc, oldMode);
}

CWindowClassInfo& CQelVistaFlatButton::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"QelVistaFlatButton", WC_BUTTONW, ICC_STANDARD_CLASSES};
    return info;
}
