#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/MultiPaneStatusBar.h"

namespace {

class CBarHost : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_POPUP; }
};

HWND Child(HWND bar)
{
    return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, bar, nullptr, nullptr, nullptr);
}

using Edges = std::vector<LONG>;  // left, top, right, bottom

Edges InBar(HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return Edges{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

TEST(MultiPaneStatusBar, HostedWindowsLieInsideTheirPanesAndStayPutWhenMinimised)
{
    CBarHost host;
    ASSERT_TRUE(host.Create(nullptr, RECT{0, 0, 600, 200}, L"host"));
    CQelMultiPaneStatusBar bar;
    ASSERT_TRUE(bar.Create(host, RECT{}, L"Tessary", WS_CHILD | WS_VISIBLE));
    wchar_t name[40]{};
    ::GetClassNameW(bar, name, 40);
    EXPECT_STREQ(L"Qel_MultiPaneStatusBar", name);

    const UINT panes[] = {CStatusBarPanes::kDefaultPaneId, 100, 101, 102};
    ASSERT_TRUE(bar.SetPanes(panes, 4));
    bar.SetPaneWidth(100, 120);
    bar.SetPaneWidth(101, 80);
    bar.SetPaneWidth(102, 90);
    bar.SetPaneIcon(102, ::LoadIconW(nullptr, IDI_APPLICATION));
    const HWND filling = Child(bar);
    const HWND fixed = Child(bar);
    const HWND besideIcon = Child(bar);
    bar.SetPaneWindow(100, filling);
    bar.SetPaneWindow(101, fixed, 10);
    bar.SetPaneWindow(102, besideIcon);
    EXPECT_EQ(fixed, bar.GetPaneWindow(101));
    EXPECT_EQ(10, bar.GetPaneWindowHeight(101));
    EXPECT_EQ(-1, bar.GetPaneWindowHeight(100));
    bar.SendMessage(WM_SIZE);

    // Visual styles are on: windows start on the bar's second row and keep the pane's bottom.
    RECT pane{};
    ASSERT_TRUE(bar.GetPaneRect(100, pane));
    EXPECT_EQ((Edges{pane.left + 2, 1, pane.right - 2, pane.bottom}), InBar(filling));
    ASSERT_TRUE(bar.GetPaneRect(101, pane));
    const LONG top = 1 + (pane.bottom - 1 - 10) / 2;
    EXPECT_EQ((Edges{pane.left + 2, top, pane.right - 2, top + 10}), InBar(fixed));
    ASSERT_TRUE(bar.GetPaneRect(102, pane));
    EXPECT_EQ((Edges{pane.left + 22, 1, pane.right - 2, pane.bottom}), InBar(besideIcon));

    ::MoveWindow(filling, 3, 4, 5, 6, FALSE);
    bar.SendMessage(WM_SIZE, SIZE_MINIMIZED);
    EXPECT_EQ((Edges{3, 4, 8, 10}), InBar(filling));
}
