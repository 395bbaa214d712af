#pragma once
// A host window for sortable-list tests, and small readers of what the list shows.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/SortableListView.h"

inline std::wstring RowText(LPARAM key) { return L"row " + std::to_wstring(key); }

// A window of our own class: it reflects the list's notifications back to it.
class CListHost : public CWindowObject {
public:
    ~CListHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    // Creates the host and the list in it with columns 100 pixels wide.
    bool Place(CSortableListView& list, std::initializer_list<const wchar_t*> columns)
    {
        if (!Create(nullptr, RECT{0, 0, 400, 300}, L"host", WS_POPUP) || !list.Create(*this, RECT{0, 0, 400, 300}))
            return false;
        int index = 0;
        for (const wchar_t* title : columns) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(title);
            column.cx = 100;
            list.SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
        }
        return true;
    }
    void AddRow(CSortableListView& list, LPARAM data, std::initializer_list<std::wstring> texts)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(list.SendMessage(LVM_GETITEMCOUNT));
        item.lParam = data;
        for (const std::wstring& text : texts) {
            item.pszText = const_cast<wchar_t*>(text.c_str());
            if (item.iSubItem == 0)
                item.iItem = static_cast<int>(list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            else
                list.SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item.iItem), reinterpret_cast<LPARAM>(&item));
            item.mask = LVIF_TEXT;
            ++item.iSubItem;
        }
    }

protected:
    DWORD DefaultStyle() const override { return WS_POPUP; }
};

inline std::vector<std::wstring> Column(const CSortableListView& list, int column)
{
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(list.SendMessage(LVM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i)
        texts.push_back(list.GetItemText(i, column));
    return texts;
}

// The header's sort mark on a column: HDF_SORTUP, HDF_SORTDOWN or 0.
inline int SortMark(const CSortableListView& list, int column)
{
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    ::SendMessageW(list.GetHeader(), HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}
