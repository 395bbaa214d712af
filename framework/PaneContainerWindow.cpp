#include "framework/PaneContainerWindow.h"

#include <string>

void CPaneContainerWindow::UpdateLayout()
{
    if (!m_hWnd)
        return;
    RECT rest = GetClientRect();
    const int side = m_stripThickness - 4;
    // The button sits at the strip's start when the text reads upwards from the bottom.
    const int buttonLeft = m_vertical ? 2 : rest.right - 2 - side;
    m_closeButton.SetWindowPos(nullptr, RECT{buttonLeft, 2, buttonLeft + side, 2 + side},
                               SWP_NOZORDER | SWP_NOACTIVATE);
    (m_vertical ? rest.left : rest.top) += m_stripThickness;
    if (m_client)
        CWindowRef(m_client).SetWindowPos(nullptr, rest, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CPaneContainerWindow::DoPaint(HDC dc)
{
    const RECT all = GetClientRect();
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring title = GetWindowText();
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    const CSelectScope font(dc, m_vertical ? m_upwardFont.Get() : TitleFont());
    // Along the strip from a 4-pixel margin, upwards from the bottom when turned, clear of the close button.
    const RECT clip = m_vertical ? RECT{0, m_stripThickness, m_stripThickness, all.bottom}
                                 : RECT{0, 0, all.right - m_stripThickness, m_stripThickness};
    ::ExtTextOutW(dc, 4, m_vertical ? all.bottom - 4 : 4, ETO_CLIPPED, &clip, title.c_str(),
                  static_cast<UINT>(title.size()), nullptr);
}

BOOL CPaneContainerWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    switch (message) {
    case WM_CREATE: {
        LOGFONTW font{};
        ::GetObjectW(TitleFont(), sizeof font, &font);
        font.lfEscapement = font.lfOrientation = 900;
        m_upwardFont.Attach(::CreateFontIndirectW(&font));
        const CWindowDc dc(hwnd);
        const CSelectScope select(dc, TitleFont());
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        m_stripThickness = metrics.tmHeight + 8;
        m_closeButton = ::CreateWindowExW(0, L"BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, hwnd,
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_PANE_CLOSE)),
                                          FrameworkInstance(), nullptr);
        return FALSE;
    }
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
