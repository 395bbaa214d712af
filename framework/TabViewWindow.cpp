#include "framework/TabViewWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
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
    if (!InsertTab(index)) {
        m_pages.pop_back();
        return FALSE;
    }
    Activate(index);
    return TRUE;
}

BOOL CTabViewWindow::RemovePage(int index)
{
    if (!IsValid(index))
        return FALSE;
    const HWND window = Page(index).window;
    m_pages.erase(m_pages.begin() + index);
    TabCtrl_DeleteItem(m_strip, index);
    if (window == m_activeWindow)
        Activate(std::min(index, GetPageCount() - 1));
    else
        TabCtrl_SetCurSel(m_strip, GetActivePage());
    ::DestroyWindow(window);
    return TRUE;
}

void CTabViewWindow::RemoveAllPages()
{
    const std::vector<CPage> pages = std::move(m_pages);
    m_pages.clear();
    TabCtrl_DeleteAllItems(m_strip);
    Activate(-1);
    for (const CPage& page : pages)
        ::DestroyWindow(page.window);
}

BOOL CTabViewWindow::SetPageTitle(int index, const wchar_t* title)
{
    if (!IsValid(index))
        return FALSE;
    CPage& page = Page(index);
    page.title = title ? title : L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = page.title.data();
    TabCtrl_SetItem(m_strip, index, &item);
    if (page.window == m_activeWindow)
        UpdateTitleBar();
    return TRUE;
}

int CTabViewWindow::PageIndexFromWindow(HWND window) const
{
    const auto found = std::find_if(m_pages.begin(), m_pages.end(),
                                    [window](const CPage& page) { return window && page.window == window; });
    return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

void CTabViewWindow::SetTitleBarWindow(HWND window)
{
    m_titleBar = window;
    m_titleBarText = CWindowRef(window).GetWindowText();
    UpdateTitleBar();
}

void CTabViewWindow::UpdateTitleBar()
{
    if (!m_titleBar || !::IsWindow(m_titleBar))
        return;
    std::wstring caption = m_titleBarText;
    const int active = GetActivePage();
    if (active >= 0)
        caption += L" - " + Page(active).title;
    ::SetWindowTextW(m_titleBar, caption.c_str());
}

int CTabViewWindow::GetStripHeight() const
{
    // The display area of a tab control starts below its row of tabs.
    RECT area{0, 0, 400, 400};
    TabCtrl_AdjustRect(m_strip, FALSE, &area);
    return area.top;
}

void CTabViewWindow::UpdateLayout()
{
    if (!m_hWnd)
        return;
    RECT page = GetClientRect();
    if (!m_pages.empty()) {
        page.top = GetStripHeight();
        m_strip.SetWindowPos(nullptr, RECT{0, 0, page.right, page.top}, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_activeWindow)
        CWindowRef(m_activeWindow).SetWindowPos(nullptr, page, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CTabViewWindow::InsertTab(int index)
{
    CPage& page = Page(index);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = page.title.data();
    item.iImage = page.image;
    return TabCtrl_InsertItem(m_strip, index, &item) != -1;
}

// index -1: no page. The parent hears of it whenever the active window changes.
void CTabViewWindow::Activate(int index)
{
    const HWND previous = m_activeWindow;
    const HWND current = GetPageWindow(index);
    m_activeWindow = current;
    m_strip.ShowWindow(m_pages.empty() ? SW_HIDE : SW_SHOW);  // the strip shows with the first page
    TabCtrl_SetCurSel(m_strip, index);
    UpdateLayout();
    if (current)
        ::ShowWindow(current, SW_SHOW);
    if (previous && previous != current)
        ::ShowWindow(previous, SW_HIDE);
    UpdateTitleBar();
    if (previous == current)
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
    InsertTab(to);
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
    if (reinterpret_cast<CTabViewWindow*>(self)->OnStripMessage(message, wParam, lParam))
        return 0;
    return ::DefSubclassProc(strip, message, wParam, lParam);
}

// The strip's mouse, seen before the tab control's own handling; TRUE consumes it.
BOOL CTabViewWindow::OnStripMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = PointFromLParam(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
        m_dragIndex = TabAt(point);
        m_dragFrom = point;
        return FALSE;
    case WM_MOUSEMOVE:
        if (!m_dragging && m_dragIndex >= 0 && (wParam & MK_LBUTTON) &&
            (std::abs(point.x - m_dragFrom.x) > ::GetSystemMetrics(SM_CXDRAG) ||
             std::abs(point.y - m_dragFrom.y) > ::GetSystemMetrics(SM_CYDRAG))) {
            m_dragging = TRUE;
            ::SetCapture(m_strip);
        }
        return FALSE;
    case WM_LBUTTONUP: {
        const int from = std::exchange(m_dragIndex, -1);
        if (!m_dragging)
            return FALSE;
        m_dragging = FALSE;
        ::ReleaseCapture();
        const int to = TabAt(point);
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
        ::RemoveWindowSubclass(m_strip, StripProc, 0);
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
