#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/StatusBarPanes.h"

namespace {

class CBarHost : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_POPUP; }
};

std::vector<int> Edges(const CStatusBarPanes& bar)
{
    std::vector<int> edges(static_cast<size_t>(bar.SendMessage(SB_GETPARTS)));
    bar.SendMessage(SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

// What the control itself shows in the pane.
std::wstring Text(const CStatusBarPanes& bar, UINT id)
{
    const int index = bar.GetPaneIndex(id);
    EXPECT_GE(index, 0);
    wchar_t text[64]{};
    bar.SendMessage(SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(StatusBarPanes, DefaultPaneStretchesAndPanesKeepTextAndIconById)
{
    CBarHost host;
    ASSERT_TRUE(host.Create(nullptr, RECT{0, 0, 600, 200}, L"host"));
    CStatusBarPanes bar;
    ASSERT_TRUE(bar.Create(host, RECT{}, L"Tessary", WS_CHILD | WS_VISIBLE));

    const UINT panes[] = {100, CStatusBarPanes::kDefaultPaneId, 101};
    ASSERT_TRUE(bar.SetPanes(panes, 3));
    ASSERT_TRUE(bar.SetPaneWidth(100, 120));
    ASSERT_TRUE(bar.SetPaneWidth(101, 80));
    EXPECT_FALSE(bar.SetPaneWidth(102, 80));
    EXPECT_EQ(Edges(bar), (std::vector<int>{120, 520, 600}));
    EXPECT_EQ(L"Tessary", Text(bar, CStatusBarPanes::kDefaultPaneId));  // the bar's text went with its pane

    ASSERT_TRUE(bar.SetPaneText(101, L"Ready"));
    RECT ready{};
    ASSERT_TRUE(bar.GetPaneRect(101, ready));
    EXPECT_GE(ready.left, 520);
    EXPECT_LE(ready.right, 600);
    EXPECT_GT(ready.right - ready.left, 70);

    // The frame tells its bar of a new size with a WM_SIZE of its own.
    ::SetWindowPos(host, nullptr, 0, 0, 800, 200, SWP_NOMOVE | SWP_NOZORDER);
    bar.SendMessage(WM_SIZE);
    EXPECT_EQ(Edges(bar), (std::vector<int>{120, 720, 800}));

    const HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);
    ASSERT_TRUE(bar.SetPaneIcon(101, icon));
    const UINT reordered[] = {CStatusBarPanes::kDefaultPaneId, 101};
    ASSERT_TRUE(bar.SetPanes(reordered, 2));
    EXPECT_EQ(1, bar.GetPaneIndex(101));
    EXPECT_EQ(-1, bar.GetPaneIndex(100));
    EXPECT_EQ(L"Ready", Text(bar, 101));
    EXPECT_EQ(icon, bar.GetPaneIcon(101));
    EXPECT_EQ(Edges(bar), (std::vector<int>{720, 800}));
}
