#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "SortableListFixture.h"

namespace {

// Header clicks take the mouse capture for a moment.
void ClickHeader(const CSortableListView& list, int column)
{
    const HWND header = list.GetHeader();
    const LPARAM point = MAKELPARAM(column * 100 + 50, 5);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(header, WM_LBUTTONUP, 0, point);
}

}  // namespace

TEST(SortableListView, HeaderClickSortsAndASecondClickReversesWithTheMark)
{
    CListHost host;
    CSortableListView list;
    ASSERT_TRUE(host.Place(list, {L"Id", L"Name"}));
    const wchar_t* names[] = {L"b", L"c", L"a"};
    for (int i = 0; i < 3; ++i)
        host.AddRow(list, i, {std::to_wstring(i), names[i]});

    ClickHeader(list, 1);
    EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(HDF_SORTUP, SortMark(list, 1));

    ClickHeader(list, 1);
    EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"c", L"b", L"a"}));
    EXPECT_EQ(HDF_SORTDOWN, SortMark(list, 1));
    EXPECT_EQ(0, SortMark(list, 0));

    ClickHeader(list, 0);  // another column starts ascending, and only it is marked
    EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"0", L"1", L"2"}));
    EXPECT_EQ(HDF_SORTUP, SortMark(list, 0));
    EXPECT_EQ(0, SortMark(list, 1));
}
