#include "controls/IconEdit.h"

#include <commctrl.h>

#include "controls/PaintingHelpers.h"
#include "controls/ToolBar.h"

CQelVistaIconEditImpl::CQelVistaIconEditImpl()
    : CQelSubclassedControl(WC_EDITW, 0),
      m_backgroundColor(::GetSysColor(COLOR_WINDOW)),
      m_backgroundBrush(::CreateSolidBrush(m_backgroundColor))
{
    QelCreateUIFont(m_normalFont, FALSE, 0, 0);
    QelCreateUIFont(m_promptFont, FALSE, 1, 0);
}

BOOL CQelVistaIconEditImpl::IsTextThePrompt() const
{
    // Without a prompt an empty box shows nothing to set apart.
    return !m_prompt.empty() && GetWindowText() == m_prompt;
}

BOOL CQelVistaIconEditImpl::IsPromptShown() const
{
    return ::GetFocus() != m_hWnd && (::GetWindowTextLengthW(m_hWnd) == 0 || IsTextThePrompt());
}

void CQelVistaIconEditImpl::SetIcon(CIconOwner& slot, UINT id)
{
    slot.Attach(static_cast<HICON>(::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
    if (IsWindow())
        UpdateLayout();
}

BOOL CQelVistaIconEditImpl::OnInitControl()
{
    m_focusedPen.Attach(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    m_unfocusedPen.Attach(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)));
    ApplyFont();
    UpdateLayout();
    PostMessage(kShowPrompt);
    return TRUE;
}

void CQelVistaIconEditImpl::UpdateLayout()
{
    if (!IsWindow())
        return;
    const RECT client = GetClientRect();
    const LONG height = QelMeasureTextHeight(m_hWnd, GetFont()) + 4;
    const LONG inset = (client.bottom - client.top - height) / 2;
    m_textRect = RECT{client.left + 6, client.top + inset, client.right - 6, client.bottom - inset};
    m_frameRect = m_textRect;
    ::InflateRect(&m_frameRect, 6, 4);
    if (m_searchIcon)
        m_textRect.right = SearchIconRect().left - 6;
    else if (m_historyIcon)
        m_textRect.right = HistoryIconRect().left - 6;
    SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&m_textRect));
}

RECT CQelVistaIconEditImpl::IconRect(LONG left) const
{
    const LONG top = m_frameRect.top + (m_frameRect.bottom - m_frameRect.top - 16) / 2;
    return RECT{left, top, left + 16, top + 16};
}

void CQelVistaIconEditImpl::DrawFrameAndIcons(HDC dc)
{
    QelFillSolidRect(dc, GetClientRect(), ::GetSysColor(COLOR_WINDOW));
    {
        const CSelectScope pen(dc, ::GetFocus() == m_hWnd ? m_focusedPen : m_unfocusedPen);
        const CSelectScope brush(dc, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(dc, m_frameRect.left, m_frameRect.top, m_frameRect.right, m_frameRect.bottom, 2, 2);
    }
    const BOOL empty = ::GetWindowTextLengthW(m_hWnd) == 0;
    const RECT place = SearchIconRect();
    HICON shared = nullptr;
    if (m_searchIcon && (empty || IsTextThePrompt()))
        shared = m_searchIcon;
    else if (m_clearIcon && !empty)
        shared = m_clearIcon;
    if (shared)
        ::DrawIconEx(dc, place.left, place.top, shared, 16, 16, 0, nullptr, DI_NORMAL);
    if (m_historyIcon) {
        const RECT history = HistoryIconRect();
        ::DrawIconEx(dc, history.left, history.top, m_historyIcon, 16, 16, 0, nullptr, DI_NORMAL);
    }
}

void CQelVistaIconEditImpl::DrawOutsideText(HDC dc)
{
    const CSaveDcScope save(dc);
    ::ExcludeClipRect(dc, m_textRect.left, m_textRect.top, m_textRect.right, m_textRect.bottom);
    DrawFrameAndIcons(dc);
}

void CQelVistaIconEditImpl::ApplyFont()
{
    const HFONT font = IsTextThePrompt() ? m_promptFont : m_normalFont;
    // Redrawn whole: a typed change repaints only the text it touched.
    if (font && GetFont() != font)
        SetFont(font, TRUE);
}

void CQelVistaIconEditImpl::OnButtonUp(LPARAM lParam)
{
    const POINT point = PointFromLParam(lParam);
    const RECT place = SearchIconRect();
    if (m_searchIcon && m_clearIcon && ::PtInRect(&place, point) && ::GetWindowTextLengthW(m_hWnd) > 0) {
        SetWindowText(L"");
        InvalidateRect(place, TRUE);
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(m_hWnd));
    }
    const RECT history = HistoryIconRect();
    if (m_historyIcon && ::PtInRect(&history, point))
        ::SendMessageW(GetParent(), WM_QEL_SHOWSEARCHHISTORY, 0, 0);
}

BOOL CQelVistaIconEditImpl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_ERASEBKGND:
        DrawFrameAndIcons(reinterpret_cast<HDC>(wParam));
        result = 1;
        return TRUE;
    case WM_PAINT:
        // Wine's edit fills its whole client area as it paints, over what WM_ERASEBKGND
        // drew; Windows' leaves the margins alone. Drawing them again after it serves both.
        result = DefWindowProc(message, wParam, lParam);
        DrawOutsideText(CWindowDc(m_hWnd));
        return TRUE;
    case WM_PRINTCLIENT: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        {
            // Wine's edit leaves the DC clipped to its text, Windows' restores it.
            const CSaveDcScope keep(dc);
            result = DefWindowProc(message, wParam, lParam);
        }
        DrawOutsideText(dc);
        return TRUE;
    }
    case OCM__BASE + WM_CTLCOLOREDIT: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const BOOL prompt = IsTextThePrompt();
        ::SetBkColor(dc, m_backgroundColor);
        ::SetTextColor(dc, ::GetSysColor(prompt ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
        ::SelectObject(dc, prompt ? m_promptFont : m_normalFont);
        result = reinterpret_cast<LRESULT>(m_backgroundBrush.Get());
        return TRUE;
    }
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_IME_CHAR:
        // Wine's edit ignores the font chosen in WM_CTLCOLOREDIT, Windows' takes it: giving
        // the edit the font of its text after every change looks alike on both.
        result = DefWindowProc(message, wParam, lParam);
        ApplyFont();
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        result = DefWindowProc(message, wParam, lParam);
        if (message == WM_KILLFOCUS && IsPromptShown())
            SetWindowText(m_prompt.c_str());
        else if (message == WM_SETFOCUS && IsTextThePrompt())
            SetWindowText(L"");
        Invalidate(TRUE);  // the frame's pen follows the focus
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            ::PostMessageW(GetParent(), WM_QEL_SEARCH, 0, 0);
            result = 0;
            return TRUE;
        }
        InvalidateRect(SearchIconRect(), TRUE);
        result = DefWindowProc(message, wParam, lParam);
        ApplyFont();  // Delete changes the text too
        return TRUE;
    case WM_CHAR:
        // Ctrl+Enter gives a line feed, which a multi-line edit would take as well.
        if (wParam == L'\r' || wParam == L'\n') {
            result = 0;
            return TRUE;
        }
        result = DefWindowProc(message, wParam, lParam);
        ApplyFont();
        return TRUE;
    case WM_LBUTTONUP:
        OnButtonUp(lParam);
        if (IsWindow())
            DefWindowProc(message, wParam, lParam);
        result = 0;
        return TRUE;
    case WM_SETCURSOR: {
        POINT point{};
        ::GetCursorPos(&point);
        ScreenToClient(point);
        if (::PtInRect(&m_textRect, point))
            break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        result = TRUE;
        return TRUE;
    }
    case WM_SIZE:
    case WM_SETFONT:
        DefWindowProc(message, wParam, lParam);
        UpdateLayout();
        result = 0;
        return TRUE;
    case kShowPrompt:
        if (IsPromptShown())
            SetWindowText(m_prompt.c_str());
        result = 0;
        return TRUE;
    default:
        break;
    }
    return CQelSubclassedControl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
