#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "SplitterFixture.h"

namespace {

using Span = std::pair<LONG, LONG>;

}  // namespace

TEST(SplitterInteractive, DragFollowsTheMouseWithinTheLimitsAndGivesTheFocusBack)
{
    CSplitFixture f(true, 406, WS_POPUP | WS_VISIBLE);
    f.splitter.SetSplitterPos(100);
    ::SetFocus(f.panes[0]);

    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.At(10));  // beside the bar
    EXPECT_EQ(nullptr, ::GetCapture());

    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.At(103));
    EXPECT_EQ(f.splitter.m_hWnd, ::GetCapture());
    f.splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.At(153));
    EXPECT_EQ(Span(0, 150), f.Span(0));  // full drag: the panes follow at once
    f.splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.At(5));
    EXPECT_EQ(50, f.splitter.GetSplitterPos());
    f.splitter.SendMessage(WM_LBUTTONUP, 0, f.At(5));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(f.panes[0], ::GetFocus());
    EXPECT_EQ(50, f.splitter.GetSplitterPos());

    // Ghost drag: only an inverted bar moves until the button is let go.
    f.splitter.SetFullDrag(FALSE);
    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.At(53));
    f.splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, f.At(203));
    EXPECT_EQ(50, f.splitter.GetSplitterPos());
    EXPECT_EQ(Span(0, 50), f.Span(0));
    f.splitter.SendMessage(WM_LBUTTONUP, 0, f.At(203));
    EXPECT_EQ(200, f.splitter.GetSplitterPos());
    EXPECT_EQ(Span(0, 200), f.Span(0));
}

TEST(SplitterInteractive, ArrowKeysMoveTheBarNotTheCursorEnterKeepsAndEscPutsBack)
{
    for (const bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        CSplitFixture f(vertical, 406, WS_POPUP | WS_VISIBLE);
        f.splitter.SetSplitterPos(100);
        // Wine answers GetCursorPos from its server for 0.1 s after any mouse input (every
        // ReleaseCapture sends some) and from X after that; the two agree once the cursor is set.
        ::SetCursorPos(600, 600);
        POINT cursorBefore{};
        ::GetCursorPos(&cursorBefore);
        const WPARAM back = vertical ? VK_LEFT : VK_UP;
        const WPARAM forward = vertical ? VK_RIGHT : VK_DOWN;
        const WPARAM across = vertical ? VK_DOWN : VK_RIGHT;

        f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.At(103));
        ASSERT_EQ(f.splitter.m_hWnd, ::GetFocus());  // the keys of the drag come to the splitter
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, forward, 0);
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, forward, 0);
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, across, 0);
        EXPECT_EQ(120, f.splitter.GetSplitterPos());
        EXPECT_EQ(Span(0, 120), f.Span(0));
        POINT cursorAfter{};
        ::GetCursorPos(&cursorAfter);
        EXPECT_EQ(cursorBefore.x, cursorAfter.x);
        EXPECT_EQ(cursorBefore.y, cursorAfter.y);
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(100, f.splitter.GetSplitterPos());
        EXPECT_EQ(Span(0, 100), f.Span(0));

        f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, f.At(103));
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, back, 0);
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(90, f.splitter.GetSplitterPos());
    }
}
