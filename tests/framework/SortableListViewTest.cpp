#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <string>
#include <vector>

#include "SortableListFixture.h"

namespace {

// Orders rows by their data and notes every row it was shown that is not the one it names.
class CKeyedList : public CSortableListView {
public:
    int strangers = 0;

protected:
    int CompareItemsCustom(const LVCompareParam& first, const LVCompareParam& second, int column) override
    {
        for (const LVCompareParam* row : {&first, &second}) {
            if (column != 0 || row->text != RowText(row->data) || row->index < 0)
                ++strangers;
        }
        // The extremes: a plain negation of INT_MIN for descending order stays INT_MIN.
        return first.data < second.data ? INT_MIN : first.data > second.data ? INT_MAX : 0;
    }
};

}  // namespace

TEST(SortableListView, CustomSortOrdersThreeHundredRowsBothWaysAndKeepsEachRowsData)
{
    CListHost host;
    CKeyedList list;
    ASSERT_TRUE(host.Place(list, {L"Name"}));
    constexpr int kCount = 300;
    for (int i = 0; i < kCount; ++i) {
        const LPARAM key = (i * 7919) % kCount;  // a permutation of 0..299
        host.AddRow(list, key, {RowText(key)});
    }
    list.SetColumnSortType(0, ListColumnSort::Custom);

    for (const BOOL descending : {FALSE, TRUE}) {
        ASSERT_TRUE(list.SortByColumn(0, descending));
        for (int i = 0; i < kCount; ++i) {
            const LPARAM expected = descending ? kCount - 1 - i : i;
            ASSERT_EQ(expected, list.GetItemData(i)) << "row " << i << (descending ? " descending" : "");
            ASSERT_EQ(RowText(expected), list.GetItemText(i, 0));
        }
        EXPECT_EQ(descending ? HDF_SORTDOWN : HDF_SORTUP, SortMark(list, 0));
    }
    EXPECT_EQ(0, list.strangers);
}

TEST(SortableListView, TextSortIgnoresCaseAndAColumnWithoutSortStaysPut)
{
    CListHost host;
    CSortableListView list;
    ASSERT_TRUE(host.Place(list, {L"Id", L"Name"}));
    const wchar_t* names[] = {L"gamma", L"beta", L"Delta", L"Alpha"};
    for (int i = 0; i < 4; ++i)
        host.AddRow(list, 10 + i, {std::to_wstring(i), names[i]});

    ASSERT_TRUE(list.SortByColumn(1));  // text unless told otherwise
    EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"Alpha", L"beta", L"Delta", L"gamma"}));
    EXPECT_EQ(Column(list, 0), (std::vector<std::wstring>{L"3", L"1", L"2", L"0"}));
    EXPECT_EQ(13, list.GetItemData(0));

    list.SetColumnSortType(0, ListColumnSort::None);
    EXPECT_FALSE(list.SortByColumn(0, TRUE));
    EXPECT_FALSE(list.SortByColumn(2));  // no such column
    EXPECT_EQ(Column(list, 1), (std::vector<std::wstring>{L"Alpha", L"beta", L"Delta", L"gamma"}));
}
