#include "framework/PaneContainerWindow.h"

#include <string>

namespace {

HFONT TitleFont()
{
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

void CPaneContainerWindow::SetPaneContainerStyle(DWORD style)
{
    m_style = style;
    UpdateLayout();
}

void CPaneContainerWindow::SetClient(HWND client)
{
    m_client = client;
    UpdateLayout();
}

RECT CPaneContainerWindow::StripRect() const
{
    RECT strip = GetClientRect();
    if (IsVertical())
        strip.right = strip.left + StripThickness();
    else
        strip.bottom = strip.top + StripThickness();
    return strip;
}

void CPaneContainerWindow::UpdateLayout()
{
    if (!m_hWnd)
        return;
    const int thickness = StripThickness();
    const RECT client = GetClientRect();
    const int side = thickness - 4;
    // The button sits at the strip's start when the text reads upwards from the bottom.
    const RECT button = IsVertical() ? RECT{2, 2, 2 + side, 2 + side}
                                     : RECT{client.right - 2 - side, 2, client.right - 2, 2 + side};
    m_closeButton.SetWindowPos(nullptr, button, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rest = client;
    (IsVertical() ? rest.left : rest.top) += thickness;
    if (m_client)
        CWindowRef(m_client).SetWindowPos(nullptr, rest, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CPaneContainerWindow::DoPaint(HDC dc)
{
    const RECT all = GetClientRect();
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    const RECT strip = StripRect();
    const std::wstring title = GetWindowText();
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    if (IsVertical()) {
        const CSelectScope font(dc, m_upwardFont);
        RECT clip = strip;
        clip.top += StripThickness();
        ::ExtTextOutW(dc, strip.left + 4, strip.bottom - 4, ETO_CLIPPED, &clip, title.c_str(),
                      static_cast<UINT>(title.size()), nullptr);
    } else {
        const CSelectScope font(dc, TitleFont());
        RECT text = strip;
        text.left += 4;
        text.right -= StripThickness();
        ::DrawTextW(dc, title.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

void CPaneContainerWindow::OnCreate()
{
    LOGFONTW font{};
    ::GetObjectW(TitleFont(), sizeof font, &font);
    font.lfEscapement = font.lfOrientation = 900;
    m_upwardFont.Attach(::CreateFontIndirectW(&font));
    {
        const CWindowDc dc(m_hWnd);
        const CSelectScope select(dc, TitleFont());
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        m_textHeight = metrics.tmHeight;
    }
    m_closeButton = ::CreateWindowExW(0, L"BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0,
                                      m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_PANE_CLOSE)),
                                      FrameworkInstance(), nullptr);
}

BOOL CPaneContainerWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return FALSE;
    case WM_SIZE:
        UpdateLayout();
        return FALSE;
    case WM_SETTEXT:
        result = DefWindowProc();
        Invalidate();
        return TRUE;
    case WM_COMMAND:
        if (!m_closeButton || reinterpret_cast<HWND>(lParam) != m_closeButton || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, 0), reinterpret_cast<LPARAM>(hwnd));
        result = 0;
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!item || item->hwndItem != m_closeButton)
            return FALSE;
        ::DrawFrameControl(item->hDC, &item->rcItem, DFC_CAPTION,
                           DFCS_CAPTIONCLOSE | DFCS_FLAT | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
        result = TRUE;
        return TRUE;
    }
    default:
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}
