#pragma once
// A titled frame around one client window: a strip with the title (the window text)
// and a close button, on top or, with PANECNT_VERTICAL, on the left with the text
// turned to read upwards. The close button sends WM_COMMAND ID_PANE_CLOSE to the
// parent with lParam the container; the parent decides what closing means.
//
//   container.SetPaneContainerStyle(PANECNT_VERTICAL);
//   container.Create(parent, rect, L"Title");
//   container.SetClient(client);  // a child of the container
#include <windows.h>

#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

constexpr DWORD PANECNT_VERTICAL = 0x1;
constexpr WORD ID_PANE_CLOSE = 0xE9A0;

class CPaneContainerWindow : public CWindowObject, public CDoubleBufferPaint {
public:
    void SetPaneContainerStyle(DWORD style)
    {
        m_vertical = (style & PANECNT_VERTICAL) != 0;
        UpdateLayout();
    }
    void SetClient(HWND client)
    {
        m_client = client;
        UpdateLayout();
    }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

private:
    static HFONT TitleFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
    void UpdateLayout();

    bool m_vertical = false;
    HWND m_client = nullptr;
    CWindowRef m_closeButton;
    CFontOwner m_upwardFont;  // the title font turned a quarter to the left
    int m_stripThickness = 0;
};
