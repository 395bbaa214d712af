#pragma once
// Readers of what the kit's lists show, beside the sortable list's host window.
#include <windows.h>
#include <commctrl.h>

#include "framework/SortableListFixture.h"

inline RECT RowBounds(HWND list, int item)
{
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

inline LONG MiddleY(const RECT& rect) { return (rect.top + rect.bottom) / 2; }

inline void SetRowState(HWND list, int item, UINT state, UINT mask)
{
    LVITEMW row{};
    row.state = state;
    row.stateMask = mask;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row));
}
