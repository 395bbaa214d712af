#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "CommandedParent.h"
#include "PrintedClient.h"
#include "framework/PaneContainerWindow.h"

TEST(PaneContainerWindow, TitleOnTopOrTurnedOnTheLeftClientBesideItAndCloseCommandsTheParent)
{
    for (const bool vertical : {false, true}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        CCommandedParent parent;
        ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 400, 300}, L"parent"));
        CPaneContainerWindow container;
        container.SetPaneContainerStyle(vertical ? PANECNT_VERTICAL : 0);
        ASSERT_TRUE(container.Create(parent, RECT{0, 0, 300, 200}, L"Document Information"));
        const HWND client = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, container,
                                              nullptr, nullptr, nullptr);
        container.SetClient(client);

        const RECT placed = CWindowRef(client).GetRectInParent();
        const LONG strip = vertical ? placed.left : placed.top;
        EXPECT_GT(strip, 10);
        EXPECT_EQ(0, vertical ? placed.top : placed.left);
        EXPECT_EQ(300, placed.right);
        EXPECT_EQ(200, placed.bottom);

        // The title reads along the strip: a long, thin run of ink, upright on the left.
        const RECT text = vertical ? RECT{0, strip, strip, 200} : RECT{0, 0, 300 - strip, strip};
        const RECT ink = CPrintedClient(container).InkBounds(text, ::GetSysColor(COLOR_BTNFACE));
        const LONG along = vertical ? ink.bottom - ink.top : ink.right - ink.left;
        const LONG across = vertical ? ink.right - ink.left : ink.bottom - ink.top;
        EXPECT_GT(along, 3 * across);
        EXPECT_GT(across, 3);

        const HWND close = container.GetDlgItem(ID_PANE_CLOSE);
        ASSERT_TRUE(close);
        // The close glyph is a cross, inked in all four corners; without the symbol font
        // the system draws the letter "r" in its place.
        const CPrintedClient button(close);
        RECT face = CWindowRef(close).GetClientRect();
        ::InflateRect(&face, -2, -2);  // inside the flat frame
        const RECT glyph = button.InkBounds(face, ::GetSysColor(COLOR_BTNFACE));
        ASSERT_LT(glyph.left, glyph.right);
        const LONG quarterX = std::max<LONG>(1, (glyph.right - glyph.left) / 4);
        const LONG quarterY = std::max<LONG>(1, (glyph.bottom - glyph.top) / 4);
        for (const LONG left : {glyph.left, glyph.right - quarterX})
            for (const LONG top : {glyph.top, glyph.bottom - quarterY}) {
                const RECT corner{left, top, left + quarterX, top + quarterY};
                EXPECT_LT(button.InkBounds(corner, ::GetSysColor(COLOR_BTNFACE)).left, corner.right)
                    << left << "," << top;
            }
        container.SendMessage(WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, BN_CLICKED), reinterpret_cast<LPARAM>(close));
        EXPECT_EQ(ID_PANE_CLOSE, LOWORD(parent.command));
        EXPECT_EQ(reinterpret_cast<LPARAM>(container.m_hWnd), parent.from);
        parent.DestroyWindow();
    }
}
