#include <gtest/gtest.h>

#include <windows.h>

#include "RecordingParent.h"
#include "controls/FlatButton.h"

TEST(FlatButtonInteractive, ClickCountsOnlyWhenReleasedOverTheButton)
{
    CRecordingParent parent(0);
    ASSERT_TRUE(parent.Create(nullptr, RECT{50, 50, 250, 150}));
    CQelVistaFlatButton button;
    ASSERT_TRUE(button.Create(parent, RECT{10, 10, 110, 34}, L"Go", WS_CHILD | WS_VISIBLE, 0, 42));
    const LPARAM inside = MAKELPARAM(20, 10);
    const LPARAM outside = MAKELPARAM(static_cast<WORD>(-30), 10);

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, outside);
    button.SendMessage(WM_LBUTTONUP, 0, outside);
    EXPECT_EQ(0, parent.Count(WM_COMMAND));
    EXPECT_EQ(nullptr, ::GetCapture());

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    ASSERT_EQ(1, parent.Count(WM_COMMAND));
    EXPECT_EQ(MAKEWPARAM(42, BN_CLICKED), parent.received[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(button.m_hWnd), parent.received[0].lParam);

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, outside);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(2, parent.Count(WM_COMMAND));

    ::SetFocus(button);
    button.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    button.SendMessage(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(2, parent.Count(WM_COMMAND));
    EXPECT_EQ(nullptr, ::GetCapture());
    parent.DestroyWindow();
}
