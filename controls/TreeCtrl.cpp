#include "controls/TreeCtrl.h"

#include <cstring>

#include "controls/ContextMenu.h"
#include "controls/PaintingHelpers.h"

namespace {

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;
constexpr COLORREF kGlyphMask = RGB(255, 0, 255);
// Between an item's icon or glyph cell and its text.
constexpr int kTextGap = 3;

// One 8 x 16 triangle on the mask colour.
HBITMAP PaintGlyph(HDC screen, const POINT (&corners)[3], COLORREF pen, COLORREF brush)
{
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kGlyphWidth, kGlyphHeight);
    const CMemoryDc dc(::CreateCompatibleDC(screen));
    if (!bitmap || !dc)
        return bitmap;
    const CSelectScope selectBitmap(dc, bitmap);
    QelFillSolidRect(dc, RECT{0, 0, kGlyphWidth, kGlyphHeight}, kGlyphMask);
    const CPenOwner outline(::CreatePen(PS_SOLID, 1, pen));
    const CBrushOwner fill(::CreateSolidBrush(brush));
    const CSelectScope selectPen(dc, outline);
    const CSelectScope selectBrush(dc, fill);
    ::Polygon(dc, corners, 3);
    return bitmap;
}

CImageListOwner MakeGlyphs()
{
    CImageListOwner list(::ImageList_Create(kGlyphWidth, kGlyphHeight, ILC_COLOR32 | ILC_MASK, 2, 0));
    if (!list)
        return list;
    const CWindowDc screen(nullptr);
    constexpr int cx = kGlyphWidth / 2;
    constexpr int cy = kGlyphHeight / 2;
    const struct {
        POINT corners[3];
        COLORREF pen;
        COLORREF brush;
    } glyphs[] = {
        {{{cx + 3, cy - 2}, {cx - 2, cy + 3}, {cx + 3, cy + 3}}, RGB(0x26, 0x26, 0x26), RGB(0x59, 0x59, 0x59)},
        {{{cx - 2, cy - 4}, {cx - 2, cy + 4}, {cx + 2, cy}}, RGB(0x87, 0x87, 0x87), RGB(0xFC, 0xFC, 0xFC)},
    };
    for (const auto& glyph : glyphs) {
        const CBitmapOwner bitmap(PaintGlyph(screen, glyph.corners, glyph.pen, glyph.brush));
        ::ImageList_AddMasked(list, bitmap, kGlyphMask);
    }
    return list;
}

}  // namespace

struct CQelVistaTreeCtrl::PaintContext {
    RECT client{};
    POINT cursor{};
    HIMAGELIST images = nullptr;
    SIZE imageSize{};
    int indent = 0;
};

CQelVistaTreeCtrl::CQelVistaTreeCtrl() : m_glyphs(MakeGlyphs())
{
    QelCreateUIFont(m_normalFont, FALSE, 0, 0);
    QelCreateUIFont(m_boldFont, TRUE, 0, 0);
}

CWindowClassInfo& CQelVistaTreeCtrl::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_TreeCtrl", WC_TREEVIEWW, ICC_TREEVIEW_CLASSES};
    return info;
}

HTREEITEM CQelVistaTreeCtrl::InsertItem(HTREEITEM parent, const wchar_t* text, LPARAM data)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

BOOL CQelVistaTreeCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
}

std::wstring CQelVistaTreeCtrl::GetItemText(HTREEITEM item) const
{
    // The tree tells no text length: grow the buffer until the text fits with room to spare.
    for (size_t size = 256;; size *= 2) {
        std::wstring buffer(size, L'\0');
        TVITEMW info{};
        info.mask = TVIF_TEXT | TVIF_HANDLE;
        info.hItem = item;
        info.pszText = buffer.data();
        info.cchTextMax = static_cast<int>(size);
        if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)) || !info.pszText)
            return std::wstring();
        const size_t length = wcsnlen(info.pszText, size);
        if (info.pszText != buffer.data() || length + 1 < size)
            return std::wstring(info.pszText, length);
    }
}

HTREEITEM CQelVistaTreeCtrl::GetNextItem(HTREEITEM item, UINT relation) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void CQelVistaTreeCtrl::GetCommandItems(std::vector<HTREEITEM>& items)
{
    if (const HTREEITEM item = m_commandItem ? m_commandItem : GetSelectedItem())
        items.push_back(item);
}

int CQelVistaTreeCtrl::GetCommandItemCount()
{
    std::vector<HTREEITEM> items;
    GetCommandItems(items);
    return static_cast<int>(items.size());
}

HTREEITEM CQelVistaTreeCtrl::GetCommandItem()
{
    std::vector<HTREEITEM> items;
    GetCommandItems(items);
    return items.empty() ? nullptr : items.front();
}

BOOL CQelVistaTreeCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        result = DefWindowProc();
        if (result != -1) {
            // Root items need the native button under their glyph, whatever style the owner chose.
            ModifyStyle(0, TVS_HASBUTTONS | TVS_LINESATROOT);
            OnInitControl();
        }
        return TRUE;
    case WM_DESTROY:
        OnDestroyControl();
        result = DefWindowProc();
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_MOUSEWHEEL:
        result = DefWindowProc();
        Invalidate(TRUE);
        return TRUE;
    case WM_HSCROLL: {
        result = DefWindowProc();
        RECT row{};
        if (GetItemRow(GetSelectedItem(), row))
            InvalidateRect(row, TRUE);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        return FALSE;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return FALSE;
    case WM_RBUTTONDOWN:
        // The common control's own right-click loop stays out: menus come from WM_CONTEXTMENU.
        result = 1;
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        result = 0;
        return TRUE;
    case OCM__BASE + WM_NOTIFY: {
        auto* notify = reinterpret_cast<NMTREEVIEWW*>(lParam);
        if (notify->hdr.code != TVN_DELETEITEMW)
            break;
        OnDeleteItem(notify->itemOld.lParam);
        notify->itemOld.lParam = 0;
        m_hotItem.Forget(notify->itemOld.hItem);
        if (notify->itemOld.hItem == m_commandItem)
            m_commandItem = nullptr;
        result = 0;
        return TRUE;
    }
    default:
        if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
            return TRUE;
        break;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

BOOL CQelVistaTreeCtrl::OnInitControl()
{
    UpdateItemHeight();
    return TRUE;
}

int CQelVistaTreeCtrl::GetItemHeight()
{
    return QelMenuRowHeight();
}

void CQelVistaTreeCtrl::UpdateItemHeight()
{
    SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(GetItemHeight()));
}

BOOL CQelVistaTreeCtrl::GetItemRect(HTREEITEM item, RECT& rect, BOOL textOnly) const
{
    if (!item)
        return FALSE;
    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    std::memcpy(&rect, &item, sizeof item);
    return SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
}

BOOL CQelVistaTreeCtrl::GetItemRow(HTREEITEM item, RECT& row) const
{
    // The whole item rectangle: Wine's text rectangle is a pixel short of the row.
    RECT whole{};
    if (!GetItemRect(item, whole, FALSE))
        return FALSE;
    const RECT client = GetClientRect();
    row = RECT{client.left, whole.top, client.right, whole.bottom};
    return TRUE;
}

void CQelVistaTreeCtrl::InvalidateItem(HTREEITEM item)
{
    RECT row{};
    if (GetItemRow(item, row))
        InvalidateRect(row, FALSE);
}

void CQelVistaTreeCtrl::DoPaint(HDC dc)
{
    PaintContext context;
    context.client = GetClientRect();
    // Below the last item and between rows nothing else paints.
    QelFillSolidRect(dc, context.client, m_windowColor);
    const CSaveDcScope saved(dc);
    ::SetBkMode(dc, TRANSPARENT);
    ::GetCursorPos(&context.cursor);
    ScreenToClient(context.cursor);
    context.images = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
    int width = 0;
    int height = 0;
    if (context.images && ::ImageList_GetIconSize(context.images, &width, &height))
        context.imageSize = SIZE{width, height};
    context.indent = static_cast<int>(SendMessage(TVM_GETINDENT));
    int count = static_cast<int>(SendMessage(TVM_GETVISIBLECOUNT)) + 1;
    for (HTREEITEM item = GetNextItem(nullptr, TVGN_FIRSTVISIBLE); item && count-- > 0;
         item = GetNextItem(item, TVGN_NEXTVISIBLE))
        DrawItem(dc, item, context);
}

void CQelVistaTreeCtrl::DrawItem(HDC dc, HTREEITEM item, const PaintContext& context)
{
    RECT row{};
    RECT text{};
    if (!GetItemRow(item, row) || !GetItemRect(item, text, TRUE))
        return;
    TVITEMW info{};
    info.mask = TVIF_HANDLE | TVIF_STATE | TVIF_IMAGE;
    info.hItem = item;
    info.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));

    const UINT state = (info.state & TVIS_SELECTED) ? QelStateSelected
                       : ::PtInRect(&row, context.cursor) ? QelStateHot
                                                          : 0;
    QelDrawStateBackground(m_hWnd, dc, row, state, m_windowColor);

    const bool root = GetNextItem(item, TVGN_PARENT) == nullptr;
    const CSelectScope font(dc, root ? m_boldFont : m_normalFont);
    ::SetTextColor(dc, GetItemTextColor(item));
    RECT textRect{text.left + GetItemTextOffset(item), row.top, row.right, row.bottom};
    const std::wstring label = GetItemText(item);
    ::DrawTextW(dc, label.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    const int middle = (row.top + row.bottom) / 2;
    RECT cell{};
    if (context.images) {
        cell = RECT{text.left - kTextGap - context.imageSize.cx, middle - context.imageSize.cy / 2, text.left - kTextGap,
                    middle - context.imageSize.cy / 2 + context.imageSize.cy};
        ::ImageList_Draw(context.images, info.iImage, dc, cell.left, cell.top, ILD_TRANSPARENT);
        ::OffsetRect(&cell, -context.indent, 0);
    } else {
        cell = RECT{text.left - context.indent, middle - kGlyphHeight / 2, text.left - kTextGap,
                    middle + kGlyphHeight / 2};
    }
    if (GetNextItem(item, TVGN_CHILD))
        DrawGlyph(dc, cell, (info.state & TVIS_EXPANDED) != 0);
}

void CQelVistaTreeCtrl::DrawGlyph(HDC dc, const RECT& cell, BOOL expanded) const
{
    if (!m_glyphs)
        return;
    const int x = (cell.left + cell.right - kGlyphWidth) / 2;
    const int y = (cell.top + cell.bottom - kGlyphHeight) / 2;
    ::ImageList_Draw(m_glyphs, expanded ? 0 : 1, dc, x, y, ILD_TRANSPARENT);
}

HTREEITEM CQelVistaTreeCtrl::HitTest(POINT client) const
{
    TVHITTESTINFO hit{};
    hit.pt = client;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void CQelVistaTreeCtrl::OnMouseMove(POINT point)
{
    m_hotItem.MoveTo(m_hWnd, HitTest(point), [this](HTREEITEM item) { InvalidateItem(item); });
}

void CQelVistaTreeCtrl::OnMouseLeave()
{
    m_hotItem.Leave([this](HTREEITEM item) { InvalidateItem(item); });
}

void CQelVistaTreeCtrl::OnContextMenu(LPARAM lParam)
{
    POINT at = PointFromLParam(lParam);
    if (lParam == -1) {
        // From the keyboard the commands apply to the selection.
        RECT label{};
        if (!GetItemRect(GetSelectedItem(), label, TRUE))
            label = RECT{};
        at = QelKeyboardMenuPoint(m_hWnd, label);
    } else {
        POINT client = at;
        ScreenToClient(client);
        const HTREEITEM item = HitTest(client);
        if (item && item != GetSelectedItem())
            m_commandItem = item;
    }
    if (const HMENU menu = GetContextMenu()) {
        PrepareContextMenu(m_commandItem, menu);
        QelTrackContextMenu(m_hWnd, menu, at);
    }
    InvalidateItem(m_commandItem);
    m_commandItem = nullptr;
}


CQelTreeCtrlStateKeeper::CQelTreeCtrlStateKeeper(CQelVistaTreeCtrl& tree) : m_tree(tree), m_lock(tree)
{
    m_tree.SaveState(*this);
}

CQelTreeCtrlStateKeeper::~CQelTreeCtrlStateKeeper()
{
    m_tree.RestoreState(*this);
}
