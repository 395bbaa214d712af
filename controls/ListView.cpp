#include "controls/ListView.h"

#include <string>

#include "controls/ContextMenu.h"
#include "controls/PaintingHelpers.h"

CWindowClassInfo& CQelAtlListCtrlBase::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_ListCtrl", WC_LISTVIEWW, ICC_LISTVIEW_CLASSES};
    return info;
}

BOOL CQelAtlListCtrlBase::OnInitControl()
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    UpdateItemHeight();
    return TRUE;
}

BOOL CQelAtlListCtrlBase::IsContextItemAlone() const
{
    return m_contextItem >= 0 &&
           !(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(m_contextItem), LVIS_SELECTED) & LVIS_SELECTED);
}

void CQelAtlListCtrlBase::GetCommandItems(std::vector<int>& items) const
{
    if (IsContextItemAlone())
        items.assign(1, m_contextItem);
    else
        GetSelectedItems(items);
}

int CQelAtlListCtrlBase::GetCommandItem() const
{
    return IsContextItemAlone() ? m_contextItem : GetFirstSelectedItem();
}

int CQelAtlListCtrlBase::GetCommandItemCount() const
{
    return IsContextItemAlone() ? 1 : static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT));
}

COLORREF CQelAtlListCtrlBase::GetItemTextColor(int, int, LPARAM)
{
    static const COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
    return color;
}

COLORREF CQelAtlListCtrlBase::GetItemBackColor(int, LPARAM)
{
    static const COLORREF color = ::GetSysColor(COLOR_WINDOW);
    return color;
}

void CQelAtlListCtrlBase::DrawItem(HDC dc, int item, int subItem, UINT, const RECT& cell, UINT format, LPARAM data)
{
    DrawItemText(dc, item, subItem, cell, format, data);
}

void CQelAtlListCtrlBase::DrawItemText(HDC dc, int item, int subItem, const RECT& cell, UINT format, LPARAM data)
{
    const std::wstring text = GetItemText(item, subItem);
    RECT area = cell;
    ::InflateRect(&area, -4, -2);
    ::SetTextColor(dc, GetItemTextColor(item, subItem, data));
    ::SetBkMode(dc, TRANSPARENT);
    const UINT alignment = (format & HDF_RIGHT) ? DT_RIGHT : (format & HDF_CENTER) ? DT_CENTER : DT_LEFT;
    ::DrawTextW(dc, text.c_str(), -1, &area, alignment | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

POINT CQelAtlListCtrlBase::ContextMenuPoint(LPARAM lParam) const
{
    if (lParam != -1)
        return PointFromLParam(lParam);
    // From the keyboard: below the selected or focused row while it shows, else at the list's corner.
    int item = GetFirstSelectedItem();
    if (item < 0)
        item = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return QelKeyboardMenuPoint(m_hWnd, item >= 0 ? GetItemBounds(item) : RECT{});
}

void CQelAtlListCtrlBase::ShowContextMenu(int item, int x, int y)
{
    const HMENU menu = GetContextMenu();
    if (!menu)
        return;
    PrepareContextMenu(item, menu);
    QelTrackContextMenu(m_hWnd, menu, POINT{x, y});
}

BOOL CQelAtlListCtrlBase::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroyControl();
        break;
    case WM_RBUTTONDOWN:
        result = DefWindowProc(message, wParam, lParam);
        Invalidate();
        return TRUE;
    case WM_CONTEXTMENU: {
        const POINT point = ContextMenuPoint(lParam);
        // A menu from the keyboard is for the selection.
        m_contextItem = -1;
        if (lParam != -1) {
            LVHITTESTINFO hit{};
            hit.pt = point;
            ScreenToClient(hit.pt);
            m_contextItem = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        }
        ShowContextMenu(m_contextItem, point.x, point.y);
        RedrawItem(m_contextItem);
        UpdateWindow();
        m_contextItem = -1;
        result = 0;
        return TRUE;
    }
    case OCM__BASE + WM_NOTIFY: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if (!change || change->hdr.code != LVN_DELETEITEM)
            break;
        DeleteItemData(change->lParam);
        change->lParam = 0;
        result = 0;
        return TRUE;
    }
    default:
        break;
    }
    return CQelPaintedListView::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

CQelVistaListCtrl::CQelVistaListCtrl()
{
    QelCreateUIFont(m_normalFont, FALSE, 0, 0);
    QelCreateUIFont(m_boldFont, TRUE, 0, 0);
}

BOOL CQelVistaListCtrl::OnInitControl()
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT | LVS_EX_UNDERLINECOLD);
    UpdateItemHeight();
    return TRUE;
}

void CQelVistaListCtrl::DoPaint(HDC dc)
{
    // One reading for all rows: under Wine each is a request to the server.
    m_paintCursor = POINT{};
    m_paintCursorKnown = ::GetCursorPos(&m_paintCursor) && ScreenToClient(m_paintCursor);
    CQelAtlListCtrlBase::DoPaint(dc);
}

void CQelVistaListCtrl::DrawItemBackground(HDC dc, int item, UINT state, const RECT& bounds, LPARAM data)
{
    UINT flags = 0;
    if (state & LVIS_SELECTED)
        flags |= QelStateSelected;
    if (m_paintCursorKnown && ::PtInRect(&bounds, m_paintCursor))
        flags |= QelStateHot;
    if (state & LVIS_FOCUSED)
        flags |= QelStateFocused;
    QelDrawStateBackground(m_hWnd, dc, bounds, flags, GetItemBackColor(item, data));
}

void CQelVistaListCtrl::DrawItem(HDC dc, int item, int subItem, UINT, const RECT& cell, UINT format, LPARAM data)
{
    const CSelectScope font(dc, IsItemBold(item, subItem, data) ? m_boldFont : m_normalFont);
    DrawItemText(dc, item, subItem, cell, format, data);
}

// Wine's list view repaints no hot row as the mouse moves (Windows does): the rows the
// mouse enters and leaves are redrawn here, which costs Windows one more repaint of each.
void CQelVistaListCtrl::TrackHotItem(LPARAM lParam)
{
    LVHITTESTINFO hit{};
    hit.pt = PointFromLParam(lParam);
    const int item = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    m_hotItem.MoveTo(m_hWnd, item, [this](int row) { RedrawItem(row); });
}

BOOL CQelVistaListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The selection turns between the focused and the unfocused look.
        result = DefWindowProc(message, wParam, lParam);
        Invalidate();
        return TRUE;
    case WM_MOUSEMOVE:
        result = DefWindowProc(message, wParam, lParam);
        TrackHotItem(lParam);
        return TRUE;
    case WM_MOUSELEAVE:
        result = DefWindowProc(message, wParam, lParam);
        m_hotItem.Leave([this](int row) { RedrawItem(row); });
        return TRUE;
    default:
        break;
    }
    return CQelAtlListCtrlBase::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
