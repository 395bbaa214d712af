#include "framework/SortableListView.h"

CWindowClassInfo& CSortableListView::GetWindowClassInfo()
{
    static CWindowClassInfo info{nullptr, WC_LISTVIEWW, ICC_LISTVIEW_CLASSES};
    return info;
}

LPARAM CSortableListView::GetItemData(int item) const
{
    LVITEMW row{};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row)) ? row.lParam : 0;
}

void CSortableListView::SetItemData(int item, LPARAM data) const
{
    LVITEMW row{};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    row.lParam = data;
    SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row));
}

std::wstring CSortableListView::GetItemText(int item, int column) const
{
    // The control says only how much it copied: grow until the text fits with room to spare.
    for (size_t size = 64;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW row{};
        row.iSubItem = column;
        row.pszText = text.data();
        row.cchTextMax = static_cast<int>(size);
        text.resize(static_cast<size_t>(
            SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row))));
        if (text.size() + 1 < size)
            return text;
    }
}

// LVM_SORTITEMS hands the callback item data, so for the sort each row's data is
// its index into the rows taken beforehand, and is given back afterwards. Wine 8's
// LVM_SORTITEMSEX, which would pass indexes, misorders the rows.
BOOL CSortableListView::SortByColumn(int column, BOOL descending)
{
    const auto set = m_sortTypes.find(column);
    const ListColumnSort type = set == m_sortTypes.end() ? ListColumnSort::Text : set->second;
    if (column < 0 || column >= ColumnCount() || type == ListColumnSort::None)
        return FALSE;
    const int count = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
    SortRun run{this, {}, column, type, descending};
    for (int i = 0; i < count; ++i) {
        run.rows.push_back(LVCompareParam{i, GetItemData(i), GetItemText(i, column)});
        SetItemData(i, i);
    }
    SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&run), reinterpret_cast<LPARAM>(&CompareRows));
    for (int i = 0; i < count; ++i) {
        const LPARAM key = GetItemData(i);
        if (key >= 0 && key < count)
            SetItemData(i, run.rows[static_cast<size_t>(key)].data);
    }
    m_sortColumn = column;
    m_descending = descending;
    ShowSortMark();
    return TRUE;
}

int CALLBACK CSortableListView::CompareRows(LPARAM first, LPARAM second, LPARAM run)
{
    const SortRun& sort = *reinterpret_cast<const SortRun*>(run);
    const LVCompareParam& a = sort.rows[static_cast<size_t>(first)];
    const LVCompareParam& b = sort.rows[static_cast<size_t>(second)];
    const int order = sort.type == ListColumnSort::Text
                          ? ::CompareStringOrdinal(a.text.c_str(), -1, b.text.c_str(), -1, TRUE) - CSTR_EQUAL
                          : sort.list->CompareItemsCustom(a, b, sort.column);
    const int sign = (order > 0) - (order < 0);  // a comparison may answer INT_MIN
    return sort.descending ? -sign : sign;
}

void CSortableListView::ShowSortMark() const
{
    const HWND header = GetHeader();
    for (int i = 0; i < ColumnCount(); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == m_sortColumn)
            item.fmt |= m_descending ? HDF_SORTDOWN : HDF_SORTUP;
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

BOOL CSortableListView::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result, DWORD mapId)
{
    switch (message) {
    case OCM__BASE + WM_NOTIFY: {
        const auto* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (click && click->hdr.code == LVN_COLUMNCLICK &&
            SortByColumn(click->iSubItem, click->iSubItem == m_sortColumn ? !m_descending : FALSE)) {
            result = 0;
            return TRUE;
        }
        break;
    }
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
