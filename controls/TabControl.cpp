#include "controls/TabControl.h"

#include "controls/PaintingHelpers.h"

#include <algorithm>

namespace {

// Between a tab's edges and its image and text.
constexpr LONG kTextInset = 3;
constexpr LONG kImageAdvance = 19;

BYTE Between(BYTE from, BYTE to, LONG step, LONG steps)
{
    return static_cast<BYTE>(from + (to - from) * step / steps);
}

}  // namespace

CQelVistaTabCtrlImpl::CQelVistaTabCtrlImpl() : CQelSubclassedControl(WC_TABCONTROLW, ICC_TAB_CLASSES)
{
    QelCreateUIFont(m_font, FALSE, 0, 0);
}

BOOL CQelVistaTabCtrlImpl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CQelSubclassedControl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CQelVistaTabCtrlImpl::DoPaint(HDC dc)
{
    const CSaveDcScope save(dc);
    QelFillSolidRect(dc, GetClientRect(), ::GetSysColor(COLOR_BTNFACE));
    ::SelectObject(dc, m_font);
    const auto count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
    const auto current = static_cast<int>(SendMessage(TCM_GETCURSEL));
    for (int index = count - 1; index >= 0; --index) {
        RECT rect{};
        if (index == current || !SendMessage(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)))
            continue;
        rect.bottom -= 2;
        PaintTab(dc, index, FALSE, rect);
    }
    RECT rect{};
    if (current >= 0 && current < count && SendMessage(TCM_GETITEMRECT, current, reinterpret_cast<LPARAM>(&rect))) {
        rect.bottom += 2;
        rect.top -= 2;
        PaintTab(dc, current, TRUE, rect);
    }
}

int CQelVistaTabCtrlImpl::GetFittingItemHeight() const
{
    const CWindowDc dc(m_hWnd);
    const CSelectScope select(dc, m_font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int imageWidth = 0;
    int imageHeight = 0;
    if (const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TCM_GETIMAGELIST, 0, 0)))
        ::ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    return std::max<int>(metrics.tmHeight, imageHeight) + 2 * kTextInset;
}

void CQelVistaTabCtrlImpl::PaintTab(HDC dc, int index, BOOL current, const RECT& rect)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_TAB;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID());
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = current ? 1 : 0;
    item.hwndItem = m_hWnd;
    item.hDC = dc;
    item.rcItem = rect;
    DrawTab(item);
    DrawTabFrame(item);
}

void CQelVistaTabCtrlImpl::DrawTab(const DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    const BOOL selected = static_cast<int>(item.itemID) == static_cast<int>(SendMessage(TCM_GETCURSEL));
    RECT r = item.rcItem;
    r.bottom += selected ? -1 : 2;

    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF top = QelDarkenColor(window, 0.95f);
    const COLORREF bottom = selected ? window : QelDarkenColor(window, 0.9f);
    const LONG height = r.bottom - r.top;
    for (LONG y = 0; y < height; y += 2) {
        const COLORREF band = RGB(Between(GetRValue(top), GetRValue(bottom), y, height),
                                  Between(GetGValue(top), GetGValue(bottom), y, height),
                                  Between(GetBValue(top), GetBValue(bottom), y, height));
        QelFillSolidRect(dc, RECT{r.left, r.top + y, r.right, r.top + y + 2}, band);
    }

    r.left += kTextInset;
    r.top += selected ? kTextInset + 1 : kTextInset;
    ::SetBkMode(dc, TRANSPARENT);
    wchar_t text[1024]{};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT | TCIF_IMAGE;
    tab.pszText = text;
    tab.cchTextMax = 1024;
    SendMessage(TCM_GETITEMW, item.itemID, reinterpret_cast<LPARAM>(&tab));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST));
    if (images) {
        ::ImageList_Draw(images, tab.iImage, dc, r.left, r.top, ILD_TRANSPARENT);
        r.left += kImageAdvance;
    }
    r.right -= kTextInset;
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    ::SetTextColor(dc, selected ? windowText : QelLightenColor(windowText, 1.1f));
    ::DrawTextW(dc, tab.pszText, -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CQelVistaTabCtrlImpl::DrawTabFrame(const DRAWITEMSTRUCT& item)
{
    const BOOL selected = static_cast<int>(item.itemID) == static_cast<int>(SendMessage(TCM_GETCURSEL));
    RECT r = item.rcItem;
    r.bottom += selected ? -1 : 1;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF base = selected ? QelLightenColor(face, 1.4f) : QelDarkenColor(face, 0.99f);
    const COLORREF light = QelLightenColor(base, 1.5f);
    const COLORREF dark = QelDarkenColor(base, 0.75f);
    QelFillSolidRect(item.hDC, RECT{r.left, r.top, r.left + 1, r.bottom}, light);
    QelFillSolidRect(item.hDC, RECT{r.left, r.top, r.right, r.top + 1}, light);
    QelFillSolidRect(item.hDC, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
}
