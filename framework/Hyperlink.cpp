#include "framework/Hyperlink.h"

#include <shellapi.h>

#include <cwchar>
#include <utility>

BOOL IsOpenableLinkTarget(const std::wstring& target)
{
    for (const wchar_t* scheme : {L"http://", L"https://", L"mailto:"}) {
        const size_t length = std::wcslen(scheme);
        if (target.size() > length && ::_wcsnicmp(target.c_str(), scheme, length) == 0)
            return TRUE;
    }
    return FALSE;
}

HFONT CHyperlink::NormalFont() const
{
    if (m_font)
        return m_font;
    // A subclassed static keeps the font it was given before it became a link.
    const auto own = reinterpret_cast<HFONT>(const_cast<CHyperlink*>(this)->DefWindowProc(WM_GETFONT, 0, 0));
    return own ? own : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

HFONT CHyperlink::UnderlinedFont()
{
    if (!m_underlined) {
        LOGFONTW font{};
        ::GetObjectW(NormalFont(), sizeof font, &font);
        font.lfUnderline = TRUE;
        m_underlined.Attach(::CreateFontIndirectW(&font));
    }
    return m_underlined ? m_underlined.Get() : NormalFont();
}

BOOL CHyperlink::GetIdealSize(SIZE& size) const
{
    if (!m_hWnd)
        return FALSE;
    const CWindowDc dc(m_hWnd);
    const CSelectScope font(dc, NormalFont());
    const std::wstring label = GetWindowText();
    return ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
}

BOOL CHyperlink::Activate()
{
    if (m_style & HLINK_COMMANDBUTTON) {
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return TRUE;
    }
    const std::wstring target = m_target.empty() ? GetWindowText() : m_target;
    if (!IsOpenableLinkTarget(target))
        return FALSE;
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32)
        return FALSE;
    Restyle(m_visited, TRUE);
    return TRUE;
}

void CHyperlink::DoPaint(HDC dc)
{
    RECT client = GetClientRect();
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    const BOOL underlined = !(m_style & HLINK_NOTUNDERLINED) && (!(m_style & HLINK_UNDERLINEHOVER) || m_hover);
    const CSelectScope font(dc, underlined ? UnderlinedFont() : NormalFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_visited ? m_visitedColor : m_linkColor);
    ::DrawTextW(dc, GetWindowText().c_str(), -1, &client, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

BOOL CHyperlink::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    result = 0;
    switch (message) {
    case WM_NCHITTEST:
        result = HTCLIENT;  // a static without SS_NOTIFY would let clicks through
        return TRUE;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = TRUE;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
            if (m_style & HLINK_UNDERLINEHOVER)
                Invalidate();
        }
        return TRUE;
    case WM_MOUSELEAVE:
        m_hover = m_pressed = FALSE;
        if (m_style & HLINK_UNDERLINEHOVER)
            Invalidate();
        return TRUE;
    case WM_LBUTTONDOWN:
        m_pressed = TRUE;
        return TRUE;
    case WM_LBUTTONUP: {
        const RECT client = GetClientRect();
        if (std::exchange(m_pressed, FALSE) && ::PtInRect(&client, PointFromLParam(lParam)))
            Activate();
        return TRUE;
    }
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        m_underlined.Close();
        if (LOWORD(lParam))
            Invalidate();
        return TRUE;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(NormalFont());
        return TRUE;
    case WM_SETTEXT:
        result = DefWindowProc();
        Invalidate();
        return TRUE;
    default:
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}
