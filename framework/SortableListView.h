#pragma once
// A report list view whose rows sort by a column: as text ignoring case unless told otherwise,
// or, in a custom column, by the virtual CompareItemsCustom that derived lists override to compare
// their own row records. A header click, reflected back by the parent as OCM_NOTIFY, sorts by its
// column ascending, a second one reverses; the header marks the last sort. While a sort runs, every
// row's item data changes and changes back, each time with an LVN_ITEMCHANGED (LVIF_PARAM) to the parent.
// A list with a class name of its own registers {name, WC_LISTVIEWW, ICC_LISTVIEW_CLASSES}.
#include <windows.h>
#include <commctrl.h>

#include <map>
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
    void SetColumnSortType(int column, ListColumnSort type) { m_sortTypes[column] = type; }
    // FALSE when the column does not sort; the rows keep their item data either way.
    BOOL SortByColumn(int column, BOOL descending = FALSE);

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

    // Below zero when the first row comes first in ascending order of the column.
    virtual int CompareItemsCustom(const LVCompareParam&, const LVCompareParam&, int /*column*/) { return 0; }

private:
    struct SortRun {
        CSortableListView* list;
        std::vector<LVCompareParam> rows;
        int column;
        ListColumnSort type;
        BOOL descending;
    };
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM run);
    int ColumnCount() const { return static_cast<int>(::SendMessageW(GetHeader(), HDM_GETITEMCOUNT, 0, 0)); }
    void SetItemData(int item, LPARAM data) const;
    void ShowSortMark() const;

    std::map<int, ListColumnSort> m_sortTypes;  // columns not in it sort as text
    int m_sortColumn = -1;
    BOOL m_descending = FALSE;
};
