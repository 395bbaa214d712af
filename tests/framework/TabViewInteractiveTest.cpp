#include <gtest/gtest.h>

#include <windows.h>

#include "TabViewFixture.h"

TEST(TabViewInteractive, DraggingATabMovesItsPageAndEscOrALostCaptureCancels)
{
    CTabViewFixture f;
    f.parent.ShowWindow(SW_SHOW);
    HWND pages[3]{};
    const wchar_t* titles[3] = {L"A", L"B", L"C"};
    for (int i = 0; i < 3; ++i) {
        pages[i] = f.NewPage();
        f.view.AddPage(pages[i], titles[i]);
    }

    f.strip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.TabMiddle(0));
    EXPECT_EQ(0, f.view.GetActivePage());  // the click selects the tab
    f.strip.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.TabMiddle(2));
    EXPECT_TRUE(f.view.IsTabDragging());
    EXPECT_EQ(f.strip.m_hWnd, ::GetCapture());
    f.strip.SendMessage(WM_LBUTTONUP, 0, f.TabMiddle(2));
    EXPECT_FALSE(f.view.IsTabDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(pages[1], f.view.GetPageWindow(0));
    EXPECT_EQ(pages[2], f.view.GetPageWindow(1));
    EXPECT_EQ(pages[0], f.view.GetPageWindow(2));
    EXPECT_EQ(L"A", f.TabText(2));
    EXPECT_EQ(L"B", f.TabText(0));
    EXPECT_EQ(2, f.view.GetActivePage());  // the dragged page stays active
    EXPECT_EQ(2, TabCtrl_GetCurSel(f.strip));

    // Esc on the strip, or the capture taken away (as the frame does on Esc), cancels.
    f.strip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.TabMiddle(0));
    f.strip.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.TabMiddle(1));
    ASSERT_TRUE(f.view.IsTabDragging());
    f.strip.SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(f.view.IsTabDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    f.strip.SendMessage(WM_LBUTTONUP, 0, f.TabMiddle(1));
    f.strip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.TabMiddle(0));
    f.strip.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.TabMiddle(1));
    ::ReleaseCapture();
    f.strip.SendMessage(WM_LBUTTONUP, 0, f.TabMiddle(1));
    EXPECT_EQ(pages[1], f.view.GetPageWindow(0));
    EXPECT_EQ(pages[2], f.view.GetPageWindow(1));
}
