#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ListFixture.h"
#include "controls/ListView.h"

namespace {

class CTallList : public CQelVistaListCtrl {
public:
    std::vector<LPARAM> freed;

protected:
    int GetItemHeight() override { return 40; }
    void DeleteItemData(LPARAM data) override { freed.push_back(data); }
};

LRESULT CALLBACK RecordSmallListAtEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR seen)
{
    if (message == WM_NCDESTROY)
        *reinterpret_cast<HIMAGELIST*>(seen) =
            reinterpret_cast<HIMAGELIST>(::SendMessageW(window, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    return ::DefSubclassProc(window, message, wParam, lParam);
}

BOOL Invalid(HRGN region, const RECT& row) { return ::PtInRegion(region, 50, MiddleY(row)); }

}  // namespace

TEST(ListView, RowsAreAtLeastTheAskedHeightAndTheMouseRedrawsTheRowsItEntersAndLeaves)
{
    CListHost host;
    CTallList list;
    ASSERT_TRUE(host.Place(list, {L"Name", L"Size"}));
    wchar_t name[32]{};
    ::GetClassNameW(list, name, 32);
    EXPECT_STREQ(L"Qel_ListCtrl", name);
    for (LPARAM key = 0; key < 4; ++key)
        host.AddRow(list, key, {RowText(key), L"1"});
    const RECT row1 = RowBounds(list, 1);
    const RECT row3 = RowBounds(list, 3);
    // Wine's list view makes a row one pixel taller than its small images.
    EXPECT_GE(row1.bottom - row1.top, 40);
    EXPECT_LE(row1.bottom - row1.top, 41);

    // Invalidation counts on visible windows only.
    ::ShowWindow(host, SW_SHOWNOACTIVATE);
    ::ValidateRect(list, nullptr);
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, MiddleY(row1)));
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, MiddleY(row3)));
    CRegionOwner region(::CreateRectRgn(0, 0, 0, 0));
    ::GetUpdateRgn(list, region, FALSE);
    EXPECT_TRUE(Invalid(region, row1));
    EXPECT_TRUE(Invalid(region, row3));

    ::ValidateRect(list, nullptr);
    list.SendMessage(WM_MOUSELEAVE);
    ::GetUpdateRgn(list, region, FALSE);
    EXPECT_TRUE(Invalid(region, row3));
}

TEST(ListView, DestroyingTheListFreesEachRowsDataAndLeavesTheSpacerToTheListAlone)
{
    CListHost host;
    CTallList list;
    ASSERT_TRUE(host.Place(list, {L"Name"}));
    for (LPARAM key = 11; key <= 13; ++key)
        host.AddRow(list, key, {RowText(key)});
    const auto spacer = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    ASSERT_TRUE(spacer);
    EXPECT_EQ(1, ::ImageList_GetImageCount(spacer));

    // The list view destroys the small image list it holds at its end, without
    // LVS_SHAREIMAGELISTS: the control's own is gone from it by then.
    HIMAGELIST heldAtEnd = spacer;
    ASSERT_TRUE(::SetWindowSubclass(list, RecordSmallListAtEnd, 1, reinterpret_cast<DWORD_PTR>(&heldAtEnd)));
    list.DestroyWindow();
    EXPECT_EQ(nullptr, heldAtEnd);
    std::sort(list.freed.begin(), list.freed.end());
    EXPECT_EQ((std::vector<LPARAM>{11, 12, 13}), list.freed);
}
