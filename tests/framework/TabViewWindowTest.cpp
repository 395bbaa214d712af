#include <gtest/gtest.h>

#include <windows.h>

#include "TabViewFixture.h"

namespace {

BOOL HasVisibleStyle(HWND window)
{
    return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Subclasses the strip as a page's owner would, and counts its last messages.
class CStripObject : public CWindowObject {
public:
    int finals = 0;

protected:
    void OnFinalMessage(HWND) override { ++finals; }
};

}  // namespace

TEST(TabViewWindow, PagesActivateOneAtATimeTheCaptionFollowsAndClicksReachTheHooks)
{
    CStripObject stripObject;
    CTabViewFixture f;
    ASSERT_TRUE(stripObject.SubclassWindow(f.strip));
    f.view.SetTitleBarWindow(f.parent);
    EXPECT_FALSE(HasVisibleStyle(f.strip));
    const HWND first = f.NewPage();
    const HWND second = f.NewPage();
    int data = 0;

    ASSERT_TRUE(f.view.AddPage(first, L"One"));
    EXPECT_TRUE(HasVisibleStyle(f.strip));  // the strip appears with the first page
    EXPECT_EQ(0, f.view.GetActivePage());
    EXPECT_EQ(L"Reader - One", f.parent.GetWindowText());
    ASSERT_TRUE(f.view.AddPage(second, L"Two", 3, &data));
    EXPECT_FALSE(f.view.AddPage(second, L"again"));
    EXPECT_EQ(1, f.view.GetActivePage());
    EXPECT_FALSE(HasVisibleStyle(first));
    EXPECT_TRUE(HasVisibleStyle(second));
    EXPECT_EQ(L"Reader - Two", f.parent.GetWindowText());
    EXPECT_EQ(2, f.parent.activations);
    EXPECT_EQ(1, f.view.activatedIndex);

    // The active page fills the view below the strip.
    const RECT strip = f.strip.GetRectInParent();
    const RECT page = CWindowRef(second).GetRectInParent();
    EXPECT_GT(strip.bottom, 10);
    const RECT below{0, strip.bottom, 500, 300};
    EXPECT_TRUE(::EqualRect(&page, &below));

    f.view.SetPageTitle(1, L"Second");
    EXPECT_EQ(L"Reader - Second", f.parent.GetWindowText());
    EXPECT_EQ(L"Second", f.TabText(1));
    f.view.SetPageTitle(0, L"First");
    EXPECT_EQ(L"Reader - Second", f.parent.GetWindowText());
    EXPECT_EQ(1, f.view.PageIndexFromWindow(second));
    EXPECT_EQ(&data, f.view.GetPageData(1));
    EXPECT_EQ(L"First", f.view.GetPageTitle(0));

    f.view.SetActivePage(0);
    EXPECT_EQ(L"Reader - First", f.parent.GetWindowText());
    EXPECT_EQ(0, TabCtrl_GetCurSel(f.strip));

    // Right and double clicks reach the hooks with the tab under the mouse.
    f.strip.SendMessage(WM_RBUTTONUP, 0, f.TabMiddle(1));
    EXPECT_EQ(1, f.view.menuIndex);
    POINT screen = PointFromLParam(f.TabMiddle(1));
    f.strip.ClientToScreen(screen);
    EXPECT_EQ(screen.x, f.view.menuPoint.x);
    f.strip.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(490, 5));  // beside the tabs
    EXPECT_EQ(-1, f.view.menuIndex);
    f.strip.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, f.TabMiddle(1));
    EXPECT_EQ(1, f.view.doubleClickIndex);
    f.view.SetActivePage(1);

    // Removing the active page destroys its window and activates its neighbour.
    f.view.RemovePage(1);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_EQ(0, f.view.GetActivePage());
    EXPECT_TRUE(HasVisibleStyle(first));
    EXPECT_EQ(L"Reader - First", f.parent.GetWindowText());
    const int activations = f.parent.activations;
    f.view.RemoveAllPages();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(0, f.view.GetPageCount());
    EXPECT_EQ(-1, f.view.GetActivePage());
    EXPECT_FALSE(HasVisibleStyle(f.strip));
    EXPECT_EQ(L"Reader", f.parent.GetWindowText());
    EXPECT_EQ(activations + 1, f.parent.activations);  // told that no page is active
    EXPECT_EQ(-1, f.view.activatedIndex);

    // The view lets go of the strip at the strip's own end, so what subclassed it later sees its end too.
    f.parent.DestroyWindow();
    EXPECT_EQ(1, stripObject.finals);
}
