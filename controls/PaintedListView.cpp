#include "controls/PaintedListView.h"

#include <algorithm>

#include "controls/PaintingHelpers.h"

int CQelPaintedListView::GetFirstSelectedItem() const
{
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CQelPaintedListView::GetSelectedItems(std::vector<int>& items) const
{
    items.clear();
    for (int item = GetFirstSelectedItem(); item >= 0;
         item = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED)))
        items.push_back(item);
}

RECT CQelPaintedListView::GetItemBounds(int item) const
{
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)))
        return RECT{};
    return bounds;
}

void CQelPaintedListView::RedrawItem(int item) const
{
    const RECT bounds = GetItemBounds(item);
    if (!::IsRectEmpty(&bounds))
        InvalidateRect(bounds);
}

void CQelPaintedListView::ApplyItemHeight(int height)
{
    ReleaseSpacer();
    m_spacer.Attach(::ImageList_Create(16, height, ILC_COLOR32 | ILC_MASK, 2, 2));
    if (!m_spacer)
        return;
    {
        const CWindowDc desktop(nullptr);
        const CBitmapOwner blank(::CreateCompatibleBitmap(desktop, 16, height));  // the list keeps a copy
        ::ImageList_AddMasked(m_spacer, blank, 0);
    }
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_spacer.Get()));
}

void CQelPaintedListView::ReleaseSpacer()
{
    if (!m_spacer)
        return;
    if (m_hWnd && reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)) == m_spacer)
        SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    m_spacer.Close();
}

void CQelPaintedListView::DrawItemBackground(HDC dc, int, UINT state, const RECT& bounds, LPARAM)
{
    static const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    if (state & LVIS_SELECTED)
        QelFillSolidRect(dc, bounds, highlight);
    if (state & LVIS_FOCUSED) {
        RECT focus = bounds;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(dc, &focus);
    }
}

void CQelPaintedListView::DoPaint(HDC dc)
{
    const int columns = static_cast<int>(::SendMessageW(GetHeader(), HDM_GETITEMCOUNT, 0, 0));
    DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (columns <= 0) {
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        return;
    }
    const CSaveDcScope save(dc);
    if (const HFONT font = GetFont())
        ::SelectObject(dc, font);
    const int count = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
    const int firstRight = static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH)) - ::GetScrollPos(m_hWnd, SB_HORZ);
    std::vector<UINT> formats(static_cast<size_t>(columns));
    for (int column = 0; column < columns; ++column) {
        HDITEMW header{};
        header.mask = HDI_FORMAT;
        if (::SendMessageW(GetHeader(), HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header)))
            formats[static_cast<size_t>(column)] = static_cast<UINT>(header.fmt);
    }
    const int first = std::max(0, static_cast<int>(SendMessage(LVM_GETTOPINDEX)));
    const int last = first + static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)) + 1;
    for (int item = first; item <= last && item < count; ++item) {
        const LPARAM data = GetItemData(item);
        const RECT bounds = GetItemBounds(item);
        const auto state = static_cast<UINT>(
            SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_FOCUSED | LVIS_SELECTED));
        DrawItemBackground(dc, item, state, bounds, data);
        for (int column = 0; column < columns; ++column) {
            RECT cell{};
            cell.top = column;
            cell.left = LVIR_BOUNDS;
            SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
            if (column == 0) {
                cell.right = firstRight;  // the first sub-item's bounds are the whole row's
                DrawItemImage(dc, item, bounds, cell);
            }
            DrawItem(dc, item, column, state, cell, formats[static_cast<size_t>(column)], data);
        }
    }
}

BOOL CQelPaintedListView::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        result = DefWindowProc(message, wParam, lParam);
        if (result != -1)
            OnInitControl();
        return TRUE;
    case WM_DESTROY:
        ReleaseSpacer();
        return FALSE;
    default:
        break;
    }
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CSortableListView::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
