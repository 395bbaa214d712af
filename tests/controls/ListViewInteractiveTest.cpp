#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "ContextMenuProbe.h"
#include "ListFixture.h"
#include "PixelCapture.h"
#include "controls/ListView.h"

namespace {

// Notes whom each menu is for.
class CMenuList : public CContextMenuProbe<CQelVistaListCtrl> {
public:
    int target = -2;
    int targetCount = -2;

protected:
    void PrepareContextMenu(int, HMENU) override
    {
        target = GetCommandItem();
        targetCount = GetCommandItemCount();
    }
};

POINT OnScreen(HWND window, POINT point)
{
    ::ClientToScreen(window, &point);
    return point;
}

void ExpectMenu(CMenuList& list, LPARAM at, int target, int count, POINT shownAt)
{
    list.target = list.targetCount = -2;
    list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), at);
    EXPECT_EQ(target, list.target);
    EXPECT_EQ(count, list.targetCount);
    EXPECT_EQ(shownAt.x, list.menuRect.left);
    EXPECT_EQ(shownAt.y, list.menuRect.top);
}

void ShowFocused(CListHost& host, HWND list)
{
    ::SetWindowPos(host, HWND_TOPMOST, 200, 150, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(host);
    ::SetFocus(list);
    ASSERT_EQ(list, ::GetFocus());
}

}  // namespace

TEST(ListViewInteractive, SelectedRowIsBlueWithTheFocusGreyWithoutItAndTheRowUnderTheMouseIsHot)
{
    CListHost host;
    CQelVistaListCtrl list;
    ASSERT_TRUE(host.Place(list, {L"Name", L"Size"}));
    for (LPARAM key = 0; key < 3; ++key)
        host.AddRow(list, key, {RowText(key), L"1"});
    SetRowState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    ShowFocused(host, list);
    const RECT row = RowBounds(list, 1);
    const LONG x = (row.left + row.right) / 2;
    {
        const CPixelCapture picture(list);
        EXPECT_EQ(RGB(132, 172, 221), picture.At(x, row.top));
        EXPECT_EQ(RGB(241, 247, 254), picture.At(x, row.top + 1));
        EXPECT_EQ(RGB(235, 244, 254), picture.At(x, row.top + 2));
    }
    ::ValidateRect(list, nullptr);
    ::SetFocus(host);
    EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE));  // repainted with no change of its rows
    const CPixelCapture picture(list);
    EXPECT_EQ(RGB(217, 217, 217), picture.At(x, row.top));
    EXPECT_EQ(RGB(250, 250, 251), picture.At(x, row.top + 1));
    EXPECT_EQ(RGB(248, 248, 248), picture.At(x, row.top + 2));

    // Each paint shows the row under the mouse hot, and no other.
    constexpr COLORREF hotOutline = RGB(182, 214, 251);
    const RECT row0 = RowBounds(list, 0);
    const RECT row2 = RowBounds(list, 2);
    for (const auto& [under, other] : {std::pair{row0, row2}, std::pair{row2, row0}}) {
        const POINT at = OnScreen(list, POINT{x, MiddleY(under)});
        ::SetCursorPos(at.x, at.y);
        const CPixelCapture hot(list);
        EXPECT_EQ(hotOutline, hot.At(x, under.top));
        EXPECT_NE(hotOutline, hot.At(x, other.top));
    }
}

TEST(ListViewInteractive, MenuIsForTheClickedRowOrTheSelectionAndFromTheKeyboardOpensAtTheSelection)
{
    CListHost host;
    CMenuList list;
    ASSERT_TRUE(host.Place(list, {L"Name"}));
    for (LPARAM key = 0; key < 5; ++key)
        host.AddRow(list, key, {RowText(key)});
    SetRowState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    ShowFocused(host, list);

    const RECT row1 = RowBounds(list, 1);
    const POINT onRow4 = OnScreen(list, POINT{30, MiddleY(RowBounds(list, 4))});
    const POINT onRow1 = OnScreen(list, POINT{30, MiddleY(row1)});
    ExpectMenu(list, MAKELPARAM(onRow4.x, onRow4.y), 4, 1, onRow4);
    ExpectMenu(list, MAKELPARAM(onRow1.x, onRow1.y), 1, 2, onRow1);
    // From the keyboard the menu is for the selection and opens below its first row,
    // else below the focused row, else at the list's corner.
    ExpectMenu(list, -1, 1, 2, OnScreen(list, POINT{row1.left, row1.bottom}));
    SetRowState(list, -1, 0, LVIS_SELECTED);
    SetRowState(list, 3, LVIS_FOCUSED, LVIS_FOCUSED);
    const RECT row3 = RowBounds(list, 3);
    ExpectMenu(list, -1, -1, 0, OnScreen(list, POINT{row3.left, row3.bottom}));
    SetRowState(list, 3, 0, LVIS_FOCUSED);
    ExpectMenu(list, -1, -1, 0, OnScreen(list, POINT{0, 0}));
}
