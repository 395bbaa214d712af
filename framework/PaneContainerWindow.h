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
    void SetPaneContainerStyle(DWORD style);
    void SetClient(HWND client);
    // Places the close button and the client beside the title strip.
    void UpdateLayout();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

private:
    BOOL IsVertical() const { return (m_style & PANECNT_VERTICAL) != 0; }
    int StripThickness() const { return m_textHeight + 8; }
    RECT StripRect() const;
    void OnCreate();

    DWORD m_style = 0;
    HWND m_client = nullptr;
    CWindowRef m_closeButton;
    CFontOwner m_upwardFont;  // the title font turned a quarter to the left
    int m_textHeight = 0;
};
