#include "controls/MultiLineListView.h"

#include <string>

CQelMultiLineListCtrl::CQelMultiLineListCtrl(int lineCount)
    : m_separatorPen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE))), m_lineCount(lineCount)
{
}

BOOL CQelMultiLineListCtrl::OnInitControl()
{
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = GetClientRect().right;
    column.pszText = const_cast<wchar_t*>(L"");
    SendMessage(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    {
        const CWindowDc dc(m_hWnd);
        const CSelectScope font(dc, GetFont());
        SIZE size{};
        if (::GetTextExtentPoint32W(dc, L"Kg", 2, &size))
            m_lineHeight = size.cy;
    }
    ApplyItemHeight((m_lineHeight + 3) * m_lineCount + 4);
    return TRUE;
}

void CQelMultiLineListCtrl::DrawItemBackground(HDC dc, int item, UINT state, const RECT& bounds, LPARAM data)
{
    CQelPaintedListView::DrawItemBackground(dc, item, state, bounds, data);
    const CSelectScope pen(dc, m_separatorPen);
    ::MoveToEx(dc, bounds.left, bounds.bottom - 1, nullptr);
    ::LineTo(dc, bounds.right, bounds.bottom - 1);
}

void CQelMultiLineListCtrl::DrawItemImage(HDC dc, int item, const RECT& bounds, RECT& firstCell)
{
    const HIMAGELIST images = m_images.GetImageList();
    firstCell.left = bounds.left + (images ? 40 : 8);
    if (!images)
        return;
    LVITEMW row{};
    row.mask = LVIF_IMAGE;
    row.iItem = item;
    if (SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row)))
        ::ImageList_Draw(images, row.iImage, dc, bounds.left + 4, bounds.top + (bounds.bottom - bounds.top - 32) / 2,
                         ILD_TRANSPARENT);
}

void CQelMultiLineListCtrl::DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format,
                                     LPARAM data)
{
    for (int index = 0; index < m_lineCount; ++index) {
        const LONG top = cell.top + (m_lineHeight + 3) * index + 3;
        DrawItemLine(dc, item, subItem, state, RECT{cell.left, top, cell.right, top + m_lineHeight}, format, data,
                     index);
    }
}

void CQelMultiLineListCtrl::DrawItemLine(HDC dc, int item, int subItem, UINT state, const RECT& line, UINT, LPARAM,
                                         int)
{
    static const COLORREF selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    static const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    ::SetTextColor(dc, (state & LVIS_SELECTED) ? selectedText : text);
    ::SetBkMode(dc, TRANSPARENT);
    RECT area = line;
    ::DrawTextW(dc, GetItemText(item, subItem).c_str(), -1, &area, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

BOOL CQelMultiLineListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_SIZE:
        DefWindowProc(message, wParam, lParam);
        if (::SendMessageW(GetHeader(), HDM_GETITEMCOUNT, 0, 0) > 0)
            SendMessage(LVM_SETCOLUMNWIDTH, 0, GetClientRect().right);
        result = 0;
        return TRUE;
    default:
        break;
    }
    return CQelPaintedListView::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
