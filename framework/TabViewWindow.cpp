#include "framework/TabViewWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

CTabViewWindow::~CTabViewWindow()
{
    if (m_strip.IsWindow())
        ::RemoveWindowSubclass(m_strip, StripProc, 0);
}

BOOL CTabViewWindow::AddPage(HWND window, const wchar_t* title, int image, void* data)
{
    if (!m_strip || !::IsWindow(window) || PageIndexFromWindow(window) >= 0)
        return FALSE;
    m_pages.push_back(CPage{window, title ? title : L"", image, data});
    const int index = GetPageCount() - 1;
    if (!PutTab(index, TRUE)) {
        m_pages.pop_back();
        return FALSE;
    }
    Activate(index);
    return TRUE;
}

void CTabViewWindow::RemovePage(int index)
{
    if (!IsValid(index))
        return;
    const HWND window = Page(index).window;
    m_pages.erase(m_pages.begin() + index);
    TabCtrl_DeleteItem(m_strip, index);
    Activate(window == m_activeWindow ? std::min(index, GetPageCount() - 1) : GetActivePage());
    ::DestroyWindow(window);
}

void CTabViewWindow::RemoveAllPages()
{
    const std::vector<CPage> pages = std::exchange(m_pages, {});
    TabCtrl_DeleteAllItems(m_strip);
    Activate(-1);
    for (const CPage& page : pages)
        ::DestroyWindow(page.window);
}

void CTabViewWindow::SetPageTitle(int index, const wchar_t* title)
{
    if (!IsValid(index))
        return;
    Page(index).title = title ? title : L"";
    PutTab(index, FALSE);
    UpdateTitleBar();
}

int CTabViewWindow::PageIndexFromWindow(HWND window) const
{
    const auto found = std::find_if(m_pages.begin(), m_pages.end(),
                                    [window](const CPage& page) { return window && page.window == window; });
    return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

void CTabViewWindow::UpdateTitleBar()
{
    const int active = GetActivePage();
    const std::wstring caption = active >= 0 ? m_titleBarText + L" - " + Page(active).title : m_titleBarText;
    if (::IsWindow(m_titleBar))
        ::SetWindowTextW(m_titleBar, caption.c_str());
}

int CTabViewWindow::GetStripHeight() const
{
    // The display area of a tab control starts below its row of tabs: a height that follows
    // from the tabs' own, whatever the strip's size. Tabs sized from the strip would loop.
    RECT area{0, 0, 400, 400};
    TabCtrl_AdjustRect(m_strip, FALSE, &area);
    return area.top;
}

void CTabViewWindow::UpdateLayout()
{
    RECT page = GetClientRect();
    if (!m_pages.empty()) {
        page.top = GetStripHeight();
        m_strip.SetWindowPos(nullptr, RECT{0, 0, page.right, page.top}, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_activeWindow)
        CWindowRef(m_activeWindow).SetWindowPos(nullptr, page, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Inserts the page's tab, or brings the tab it has up to date.
BOOL CTabViewWindow::PutTab(int index, BOOL insert)
{
    CPage& page = Page(index);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = page.title.data();
    item.iImage = page.image;
    return insert ? TabCtrl_InsertItem(m_strip, index, &item) != -1 : TabCtrl_SetItem(m_strip, index, &item);
}

// index -1: no page. The parent hears of it whenever the active window changes.
void CTabViewWindow::Activate(int index)
{
    const HWND previous = std::exchange(m_activeWindow, GetPageWindow(index));
    m_strip.ShowWindow(m_pages.empty() ? SW_HIDE : SW_SHOW);  // the strip shows with the first page
    TabCtrl_SetCurSel(m_strip, index);
    UpdateLayout();
    if (m_activeWindow)
        ::ShowWindow(m_activeWindow, SW_SHOW);
    if (previous && previous != m_activeWindow)
        ::ShowWindow(previous, SW_HIDE);
    UpdateTitleBar();
    if (previous == m_activeWindow)
        return;
    OnPageActivated(index);
    NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), kTabViewPageActivated};
    ::SendMessageW(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CTabViewWindow::MovePage(int from, int to)
{
    CPage page = std::move(m_pages[static_cast<size_t>(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(page));
    TabCtrl_DeleteItem(m_strip, from);
    PutTab(to, TRUE);
    TabCtrl_SetCurSel(m_strip, GetActivePage());
}

int CTabViewWindow::TabAt(POINT stripPoint) const
{
    TCHITTESTINFO hit{stripPoint, 0};
    return TabCtrl_HitTest(m_strip, &hit);
}

LRESULT CALLBACK CTabViewWindow::StripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self)
{
    // The strip's last message is where its subclass goes: removed earlier, the tab control's
    // original procedure would be written back over whatever subclassed the strip after us.
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(strip, StripProc, 0);
    const BOOL consumed = reinterpret_cast<CTabViewWindow*>(self)->OnStripMessage(message, wParam, lParam);
    return consumed ? 0 : ::DefSubclassProc(strip, message, wParam, lParam);
}

// The strip's mouse, seen before the tab control's own handling; TRUE consumes it.
BOOL CTabViewWindow::OnStripMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = PointFromLParam(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
        m_dragIndex = TabAt(point);
        m_dragStart = RECT{point.x, point.y, point.x + 1, point.y + 1};
        ::InflateRect(&m_dragStart, ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
        return FALSE;
    case WM_MOUSEMOVE:
        if (!m_dragging && m_dragIndex >= 0 && (wParam & MK_LBUTTON) && !::PtInRect(&m_dragStart, point)) {
            m_dragging = TRUE;
            ::SetCapture(m_strip);
        }
        return FALSE;
    case WM_LBUTTONUP: {
        const int from = std::exchange(m_dragIndex, -1);
        const int to = TabAt(point);
        if (!std::exchange(m_dragging, FALSE))
            return FALSE;
        ::ReleaseCapture();
        if (to >= 0 && to != from)
            MovePage(from, to);
        return FALSE;
    }
    case WM_CAPTURECHANGED:  // a drag that loses the capture is cancelled
        m_dragging = FALSE;
        m_dragIndex = -1;
        return FALSE;
    case WM_KEYDOWN:
        if (!m_dragging || wParam != VK_ESCAPE)
            return FALSE;
        ::ReleaseCapture();
        return TRUE;
    case WM_LBUTTONDBLCLK:
        OnTabDoubleClick(TabAt(point));
        return TRUE;
    case WM_RBUTTONUP: {
        POINT screen = point;
        m_strip.ClientToScreen(screen);
        OnTabContextMenu(TabAt(point), screen);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CTabViewWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                          DWORD mapId)
{
    switch (message) {
    case WM_CREATE: {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&init);
        m_strip = ::CreateWindowExW(0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                    0, 0, hwnd, nullptr, FrameworkInstance(), nullptr);
        if (!m_strip) {
            result = -1;
            return TRUE;
        }
        m_strip.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ::SetWindowSubclass(m_strip, StripProc, 0, reinterpret_cast<DWORD_PTR>(this));
        return FALSE;
    }
    case WM_DESTROY:
        m_dragging = FALSE;
        return FALSE;
    case WM_SIZE:
        UpdateLayout();
        return FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->hwndFrom != m_strip || header->code != static_cast<UINT>(TCN_SELCHANGE))
            return FALSE;
        Activate(TabCtrl_GetCurSel(m_strip));
        result = 0;
        return TRUE;
    }
    default:
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
}
