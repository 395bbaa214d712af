#pragma once
// A report list view whose rows sort by a column. Columns sort as text, ignoring
// case, unless told otherwise; a custom column asks the virtual CompareItemsCustom,
// which derived lists override to compare their own row records:
//
//   int CompareItemsCustom(const LVCompareParam& a, const LVCompareParam& b, int) override
//   { return Record(a.data).size < Record(b.data).size ? -1 : Record(a.data).size > Record(b.data).size; }
//
// A click on a column's header, reflected back by the parent as OCM_NOTIFY,
// sorts by that column ascending; a second click on it reverses. The header
// shows the direction of the last sort. While a sort runs, every row's item data
// changes and changes back, each time with an LVN_ITEMCHANGED (LVIF_PARAM) to the parent.
// A list with a class name of its own registers {name, WC_LISTVIEWW, ICC_LISTVIEW_CLASSES}.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/WindowObject.h"

enum class ListColumnSort { None, Text, Custom };

// One row as a comparison sees it, taken before the sort moves anything.
struct LVCompareParam {
    int index = -1;
    LPARAM data = 0;
    std::wstring text;  // the row's text in the sorted column
};

class CSortableListView : public CWindowObject {
public:
    BOOL SetColumnSortType(int column, ListColumnSort type);
    // None for a column the header does not have.
    ListColumnSort GetColumnSortType(int column) const;
    // FALSE when the column does not sort; the rows keep their item data either way.
    BOOL SortByColumn(int column, BOOL descending = FALSE);
    int GetSortColumn() const { return m_sortColumn; }  // -1 before the first sort
    BOOL IsSortDescending() const { return m_descending; }

    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    LPARAM GetItemData(int item) const;
    std::wstring GetItemText(int item, int column) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    DWORD DefaultStyle() const override
    {
        return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT | LVS_SHOWSELALWAYS;
    }
    DWORD DefaultExStyle() const override { return WS_EX_CLIENTEDGE; }

    // Below zero when the first row comes first in ascending order.
    virtual int CompareItemsCustom(const LVCompareParam& /*first*/, const LVCompareParam& /*second*/, int /*column*/)
    {
        return 0;
    }

private:
    struct SortRun;
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM run);
    void SetItemData(int item, LPARAM data) const;
    void ShowSortMark() const;

    std::vector<ListColumnSort> m_sortTypes;  // columns past its end sort as text
    int m_sortColumn = -1;
    BOOL m_descending = FALSE;
};
