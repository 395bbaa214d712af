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
    if (m_vertical) {
        const CSelectScope font(dc, m_upwardFont);
        const RECT clip{0, m_stripThickness, m_stripThickness, all.bottom};
        ::ExtTextOutW(dc, 4, all.bottom - 4, ETO_CLIPPED, &clip, title.c_str(), static_cast<UINT>(title.size()),
                      nullptr);
    } else {
        const CSelectScope font(dc, TitleFont());
        RECT text{4, 0, all.right - m_stripThickness, m_stripThickness};
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
        m_stripThickness = metrics.tmHeight + 8;
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
