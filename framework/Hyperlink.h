#pragma once
// A link drawn as text: created, or subclassed from a static whose text becomes the
// label. A click opens the target (the label when no target is set) with the shell,
// or, in command-button mode, sends WM_COMMAND(id, BN_CLICKED) to the parent instead.
// The label is the window text; the parent's WM_CTLCOLORSTATIC gives the background.
//
//   m_link.SubclassWindow(GetDlgItem(1071));
//   m_link.SetTarget(L"https://example.org/");
//   m_link.SetLinkStyle(HLINK_NOTUNDERLINED);
//   m_link.SetVisitedColor(m_link.GetLinkColor());
#include <string>

#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

// Link styles; without any of them the label is always underlined.
constexpr DWORD HLINK_UNDERLINEHOVER = 0x1;
constexpr DWORD HLINK_NOTUNDERLINED = 0x2;
constexpr DWORD HLINK_COMMANDBUTTON = 0x4;

// Whether a link target may be handed to the shell: a web or mail address, never a
// program or a file, since targets may come from downloaded lists.
BOOL IsOpenableLinkTarget(const std::wstring& target);

class CHyperlink : public CWindowObject, public CDoubleBufferPaint {
public:
    void SetLinkStyle(DWORD style) { Restyle(m_style, style); }
    const std::wstring& GetTarget() const { return m_target; }
    void SetTarget(const wchar_t* target) { m_target = target ? target : L""; }
    COLORREF GetLinkColor() const { return m_linkColor; }
    void SetLinkColor(COLORREF color) { Restyle(m_linkColor, color); }
    COLORREF GetVisitedColor() const { return m_visitedColor; }
    void SetVisitedColor(COLORREF color) { Restyle(m_visitedColor, color); }

    // The size of the label in the link's font.
    BOOL GetIdealSize(SIZE& size) const;
    // Does what a click does; FALSE when the shell refused or the target may not be opened.
    BOOL Activate();

    void DoPaint(HDC dc) override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    DWORD DefaultStyle() const override { return WS_CHILD | WS_VISIBLE; }

private:
    // Sets what changes the look, and repaints when there is a window.
    template <class T>
    void Restyle(T& member, T value)
    {
        member = value;
        if (m_hWnd)
            Invalidate();
    }
    HFONT NormalFont() const;
    HFONT UnderlinedFont();

    DWORD m_style = 0;
    std::wstring m_target;
    COLORREF m_linkColor = RGB(0, 0, 255);
    COLORREF m_visitedColor = RGB(128, 0, 128);
    BOOL m_visited = FALSE;
    BOOL m_hover = FALSE;
    BOOL m_pressed = FALSE;
    HFONT m_font = nullptr;  // given by WM_SETFONT, owned by whoever gave it
    CFontOwner m_underlined;
};
