#include "controls/ListBox.h"

#include <commctrl.h>

#include "controls/ContextMenu.h"
#include "controls/PaintingHelpers.h"

CQelVistaListBoxImpl::CQelVistaListBoxImpl()
{
    QelCreateUIFont(m_normalFont, FALSE, 0, 0);
    QelCreateUIFont(m_boldFont, TRUE, 0, 0);
}

int CQelVistaListBoxImpl::SetItemIcon(int index, const wchar_t* iconFile)
{
    m_icons.Create();
    const int image = m_icons.AddIconFile(iconFile);
    m_itemIcons[index] = image;
    return image;
}

int CQelVistaListBoxImpl::GetItemImage(int index) const
{
    const auto found = m_itemIcons.find(index);
    return found != m_itemIcons.end() ? found->second : -1;
}

std::wstring CQelVistaListBoxImpl::GetItemText(int index) const
{
    const LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

BOOL CQelVistaListBoxImpl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        result = DefWindowProc();
        if (result != -1)
            OnInitControl();
        return TRUE;
    case WM_DESTROY:
        OnDestroyControl();
        result = DefWindowProc();
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        result = DefWindowProc();
        Invalidate(TRUE);
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        return FALSE;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        result = 0;
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        result = 0;
        return TRUE;
    case OCM__BASE + WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return TRUE;
    case OCM__BASE + WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(GetItemHeight());
        result = TRUE;
        return TRUE;
    case OCM__BASE + WM_DELETEITEM:
        DeleteItem(reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
        result = TRUE;
        return TRUE;
    default:
        if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
            return TRUE;
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}

void CQelVistaListBoxImpl::DoPaint(HDC dc)
{
    // The list box paints each item through WM_DRAWITEM, which comes back reflected.
    DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

BOOL CQelVistaListBoxImpl::OnInitControl()
{
    UpdateItemHeight();
    return TRUE;
}

int CQelVistaListBoxImpl::GetItemHeight()
{
    return QelMenuRowHeight();
}

void CQelVistaListBoxImpl::UpdateItemHeight()
{
    SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(GetItemHeight(), 0));
}

BOOL CQelVistaListBoxImpl::IsItemSelected(int item)
{
    return item == static_cast<int>(SendMessage(LB_GETCURSEL));
}

void CQelVistaListBoxImpl::InvalidateItem(int item)
{
    RECT rect{};
    if (item >= 0 && SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(rect, FALSE);
}

int CQelVistaListBoxImpl::ItemFromPoint(POINT point) const
{
    const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit))
        return -1;
    // Below the last item the list box names the nearest one.
    const int item = LOWORD(hit);
    RECT rect{};
    if (SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR ||
        !::PtInRect(&rect, point))
        return -1;
    return item;
}

void CQelVistaListBoxImpl::OnMouseMove(POINT point)
{
    m_hotItem.MoveTo(m_hWnd, ItemFromPoint(point), [this](int item) { InvalidateItem(item); });
}

void CQelVistaListBoxImpl::OnMouseLeave()
{
    m_hotItem.Leave([this](int item) { InvalidateItem(item); });
}

void CQelVistaListBoxImpl::OnContextMenu(LPARAM lParam)
{
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ScreenToClient(cursor);
    m_contextItem = ItemFromPoint(cursor);
    POINT at = PointFromLParam(lParam);
    if (lParam == -1) {
        // From the keyboard: at the selected or focused item.
        int item = static_cast<int>(SendMessage(LB_GETCURSEL));
        if (item < 0)
            item = static_cast<int>(SendMessage(LB_GETCARETINDEX));
        RECT rect{};
        if (item < 0 ||
            SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
            rect = RECT{};
        at = QelKeyboardMenuPoint(m_hWnd, rect);
    }
    ShowContextMenu(at);
    InvalidateItem(m_contextItem);
    UpdateWindow();
    m_contextItem = -1;
}

void CQelVistaListBoxImpl::ShowContextMenu(POINT screen)
{
    const HMENU menu = GetContextMenu();
    if (!menu)
        return;
    PrepareContextMenu(m_contextItem, menu);
    QelTrackContextMenu(m_hWnd, menu, screen);
}

void CQelVistaListBoxImpl::DrawItem(const DRAWITEMSTRUCT& item)
{
    DRAWITEMSTRUCT copy = item;
    const CQelBufferedDc buffer(item.hDC, item.rcItem);
    copy.hDC = buffer;
    DrawItemBackground(&copy);
    DrawItemContent(&copy);
}

void CQelVistaListBoxImpl::DrawItemBackground(DRAWITEMSTRUCT* item)
{
    UINT flags = (item->itemState & ODS_SELECTED) ? QelStateSelected : 0;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ScreenToClient(cursor);
    if (::PtInRect(&item->rcItem, cursor))
        flags |= QelStateHot;
    QelDrawStateBackground(m_hWnd, item->hDC, item->rcItem, flags,
                           GetItemBackColor(static_cast<int>(item->itemID)));
}

void CQelVistaListBoxImpl::DrawItemContent(DRAWITEMSTRUCT* item)
{
    const HDC dc = item->hDC;
    const CSaveDcScope saved(dc);
    const int id = static_cast<int>(item->itemID);
    ::SelectObject(dc, IsItemSelected(id) ? m_boldFont : m_normalFont);
    const bool real = id != -1;
    const std::wstring text = real ? GetItemText(id) : L"No Data";
    RECT textRect = item->rcItem;
    ::InflateRect(&textRect, -4, -2);
    ::SetTextColor(dc, real ? GetItemTextColor(id) : ::GetSysColor(COLOR_BTNFACE));
    if (real && m_icons.GetImageList()) {
        const int image = GetItemImage(id);
        if (image != -1)
            ::ImageList_Draw(m_icons.GetImageList(), image, dc, textRect.left,
                             textRect.top + (textRect.bottom - textRect.top - 16) / 2, ILD_TRANSPARENT);
        textRect.left += 20;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

CWindowClassInfo& CQelVistaListBox::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_ListBox", WC_LISTBOXW, ICC_STANDARD_CLASSES};
    return info;
}

CWindowClassInfo& CQelControlChooser::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_ControlChooser", WC_LISTBOXW, ICC_STANDARD_CLASSES};
    return info;
}
