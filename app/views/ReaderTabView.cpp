#include "app/views/ReaderTabView.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/frame/PopupMenu.h"
#include "app/views/ReaderDocumentView.h"
#include "app/views/ReaderHtmlView.h"
#include "foundation/Translations.h"
#include "framework/ActiveXIds.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kMaximumTabWidth = 200;
constexpr WORD kToolBarResourceType = 241;

// The commands of a tool bar resource: version, button width and height, count, then the ids, 16 bits each.
std::vector<UINT> ToolBarCommands(UINT id, int& buttonWidth)
{
    std::vector<UINT> commands;
    const HRSRC found = ::FindResourceW(FrameworkInstance(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolBarResourceType));
    const HGLOBAL loaded = found ? ::LoadResource(FrameworkInstance(), found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(FrameworkInstance(), found) / sizeof(WORD) : 0;
    if (!words || size < 4 || size < 4u + words[3])
        return commands;
    buttonWidth = words[1];
    commands.assign(words + 4, words + 4 + words[3]);
    return commands;
}

}  // namespace

CReaderTabView::~CReaderTabView() = default;

CWindowClassInfo& CReaderTabView::GetWindowClassInfo()
{
    static CWindowClassInfo info{L"Qel_TabView", nullptr, 0};
    return info;
}

int CReaderTabView::OpenDocument(const TESSARYDOCUMENTDATA& document, BOOL newTab)
{
    const int open = FindDocumentPage(document);
    if (open >= 0) {
        SetActivePage(open);
        return open;
    }
    CReaderViewBase* active = GetActiveView();
    if (!newTab && active && active->GetViewType() == kReaderDocumentView) {
        static_cast<CReaderDocumentView*>(active)->SetDocument(document);
        const int index = GetActivePage();
        SetPageTitle(index, document.title.c_str());
        return index;
    }
    auto view = std::make_unique<CReaderDocumentView>(m_database, this, document);
    if (!view->Create(m_hWnd, RECT{}, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN))
        return -1;
    return AddPage(std::move(view)) ? GetPageCount() - 1 : -1;
}

int CReaderTabView::OpenUrl(const wchar_t* url)
{
    auto view = std::make_unique<CReaderHtmlView>(this);
    if (!view->Create(m_hWnd, url))
        return -1;
    return AddPage(std::move(view)) ? GetPageCount() - 1 : -1;
}

BOOL CReaderTabView::AddPage(std::unique_ptr<CReaderViewBase> view)
{
    CReaderViewBase* page = view.get();
    m_views.push_back(std::move(view));
    if (!CTabViewWindow::AddPage(page->GetWindow(), page->GetTitle().c_str(), -1, page)) {
        ::DestroyWindow(page->GetWindow());
        DeleteView(page);
        return FALSE;
    }
    page->LoadSettings();
    UpdateTabWidths();
    return TRUE;
}

void CReaderTabView::ClosePage(int index)
{
    CReaderViewBase* view = GetPageView(index);
    if (!view)
        return;
    RemovePage(index);
    DeleteView(view);
    UpdateTabWidths();
}

void CReaderTabView::CloseAllPages()
{
    RemoveAllPages();
    m_views.clear();
}

void CReaderTabView::DeleteView(CReaderViewBase* view)
{
    const auto found = std::find_if(m_views.begin(), m_views.end(),
                                    [view](const std::unique_ptr<CReaderViewBase>& owned) { return owned.get() == view; });
    if (found != m_views.end())
        m_views.erase(found);
}

int CReaderTabView::FindDocumentPage(const TESSARYDOCUMENTDATA& document) const
{
    for (int index = 0; index < GetPageCount(); ++index) {
        const CReaderViewBase* view = GetPageView(index);
        if (!view || view->GetViewType() != kReaderDocumentView)
            continue;
        const TESSARYDOCUMENTDATA& shown = static_cast<const CReaderDocumentView*>(view)->GetDocument();
        if (::StrCmpIW(shown.subscriptionGuid.c_str(), document.subscriptionGuid.c_str()) == 0 &&
            ::StrCmpIW(shown.documentGuid.c_str(), document.documentGuid.c_str()) == 0)
            return index;
    }
    return -1;
}

CReaderViewBase* CReaderTabView::GetPageView(int index) const
{
    return static_cast<CReaderViewBase*>(GetPageData(index));
}

void CReaderTabView::SetPageTitleByView(CReaderViewBase* view, const wchar_t* title)
{
    if (view)
        SetPageTitle(PageIndexFromWindow(view->GetWindow()), title);
}

BOOL CReaderTabView::PreTranslateMessage(MSG* message)
{
    const int count = GetPageCount();
    if (!message || count == 0)
        return FALSE;
    if (message->message == WM_KEYDOWN && message->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0) {
        if (count > 1) {
            const int step = ::GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
            SetActivePage((GetActivePage() + step) % count);
        }
        return TRUE;
    }
    if (message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE && IsTabDragging()) {
        ::ReleaseCapture();
        return TRUE;
    }
    const CReaderViewBase* active = GetActiveView();
    return active && ::SendMessageW(active->GetWindow(), WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(message)) != 0;
}

void CReaderTabView::UpdateLayout()
{
    if (!m_hWnd)
        return;
    const RECT client = GetClientRect();
    const int stripHeight = GetStripHeight() + 1;
    const int toolBarLeft = std::max<int>(0, client.right - m_toolBarWidth);
    CWindowRef(GetTabStrip())
        .SetWindowPos(nullptr, RECT{0, 0, toolBarLeft, stripHeight}, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_toolBar.IsWindow())
        m_toolBar.SetWindowPos(nullptr, RECT{toolBarLeft, 0, client.right, stripHeight},
                               SWP_NOZORDER | SWP_NOACTIVATE);
    if (const HWND page = GetPageWindow(GetActivePage()))
        CWindowRef(page).SetWindowPos(nullptr, RECT{0, stripHeight, client.right, client.bottom},
                                      SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateTabWidths();
}

void CReaderTabView::UpdateTabWidths()
{
    const int count = GetPageCount();
    if (count == 0)
        return;
    const RECT strip = CWindowRef(GetTabStrip()).GetClientRect();
    const int width = std::min(kMaximumTabWidth, std::max(0, static_cast<int>(strip.right) - 20) / count);
    ::SendMessageW(GetTabStrip(), TCM_SETITEMSIZE, 0, MAKELPARAM(width, m_itemHeight));
}

void CReaderTabView::OnPageActivated(int)
{
    if (!m_mainFrame)
        return;
    NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), kTabViewPageActivated};
    ::SendMessageW(m_mainFrame, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CReaderTabView::OnTabContextMenu(int index, POINT screenPoint)
{
    if (index < 0)
        return;
    if (!m_tabMenu) {
        m_tabMenu.Attach(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(IDR_TAB_MENU)));
        if (!m_tabMenu)
            return;
        QelTranslateMenu(m_tabMenu);
    }
    const HMENU popup = ::GetSubMenu(m_tabMenu, 0);
    ::EnableMenuItem(popup, ID_CLOSE_LEFT, MF_BYCOMMAND | (index == 0 ? MF_GRAYED : MF_ENABLED));
    ::EnableMenuItem(popup, ID_CLOSE_RIGHT, MF_BYCOMMAND | (index == GetPageCount() - 1 ? MF_GRAYED : MF_ENABLED));
    m_menuPage = index;
    if (const UINT command = TrackMenu(popup, screenPoint))
        SendMessage(WM_COMMAND, command);
    m_menuPage = -1;
}

UINT CReaderTabView::TrackMenu(HMENU menu, POINT screenPoint)
{
    return static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0,
                                              m_hWnd, nullptr));
}

void CReaderTabView::ShowWindowsDialog()
{
    CReaderWindowsDlgPages pages(*this);
    CWindowsDlg(pages).DoModal(m_hWnd);
}

void CReaderTabView::ShowWindowList()
{
    CMenuOwner menu(::CreatePopupMenu());
    if (!menu)
        return;
    const int count = GetPageCount();
    const int active = GetActivePage();
    for (int index = 0; index < std::min(count, kWindowListSize); ++index)
        ::AppendMenuW(menu, MF_STRING | (index == active ? MF_CHECKED : MF_UNCHECKED), kWindowListFirst + index,
                      DataMenuText(GetPageTitle(index)).c_str());
    if (count == 0)
        ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"(Empty)");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kWindowsDialog, L"&Windows...");

    RECT button{};
    ::SendMessageW(m_toolBar, TB_GETRECT, ID_VIEW_WINDOWS, reinterpret_cast<LPARAM>(&button));
    POINT below{button.left, button.bottom};
    ::ClientToScreen(m_toolBar, &below);
    if (const UINT command = TrackMenu(menu, below))
        SendMessage(WM_COMMAND, command);
}

// "Close All But This", "Close Left" and "Close Right" act around the tab whose menu is open.
void CReaderTabView::CloseMenuNeighbours(UINT id)
{
    const int page = m_menuPage;
    if (page < 0)
        return;
    if (id == ID_CLOSE_LEFT) {
        for (int index = page - 1; index >= 0; --index)
            ClosePage(index);
        return;
    }
    for (int index = GetPageCount() - 1; index > page; --index)
        ClosePage(index);
    if (id == ID_CLOSE_ALL_BUT_THIS) {
        for (int index = page - 1; index >= 0; --index)
            ClosePage(index);
    }
}

BOOL CReaderTabView::OnCommand(UINT id)
{
    switch (id) {
    case ID_CLOSE_TAB:
        ClosePage(m_menuPage >= 0 ? m_menuPage : GetActivePage());
        return TRUE;
    case ID_CLOSE_ALL:
        CloseAllPages();
        return TRUE;
    case ID_CLOSE_ALL_BUT_THIS:
    case ID_CLOSE_LEFT:
    case ID_CLOSE_RIGHT:
        CloseMenuNeighbours(id);
        return TRUE;
    case ID_VIEW_WINDOWS:
        ShowWindowList();
        return TRUE;
    case kWindowsDialog:
        ShowWindowsDialog();
        return TRUE;
    default:
        if (id >= kWindowListFirst && id < kWindowListFirst + kWindowListSize) {
            SetActivePage(static_cast<int>(id - kWindowListFirst));
            return TRUE;
        }
        return FALSE;
    }
}

void CReaderTabView::OnCreate()
{
    m_tabCtrl.SubclassWindow(GetTabStrip());
    m_tabCtrl.OnInitControl();
    m_tabCtrl.ModifyStyle(0, TCS_FIXEDWIDTH | TCS_FORCELABELLEFT);
    // The strip's height comes from the tabs' (GetStripHeight); were the tabs sized from
    // the strip, each layout would feed the next and the strip would grow.
    m_itemHeight = m_tabCtrl.GetFittingItemHeight();
    ::SendMessageW(GetTabStrip(), TCM_SETITEMSIZE, 0, MAKELPARAM(kMaximumTabWidth, m_itemHeight));
    CreateToolBar();
    UpdateLayout();
}

void CReaderTabView::CreateToolBar()
{
    int buttonWidth = 16;
    const std::vector<UINT> commands = ToolBarCommands(IDR_TAB_TOOLBAR, buttonWidth);
    m_toolBar.Create(m_hWnd, RECT{}, nullptr,
                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_NODIVIDER |
                         CCS_NORESIZE | CCS_NOPARENTALIGN);
    m_toolBarImages.Attach(ImageList_LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(IDB_TAB_TOOLBAR), buttonWidth,
                                                0, CLR_NONE, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    m_toolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_toolBarImages.Get()));
    for (size_t index = 0; index < commands.size(); ++index)
        m_toolBar.AddToolButton(commands[index], BTNS_BUTTON, FALSE, static_cast<int>(index));
    RECT last{};
    if (!commands.empty() &&
        m_toolBar.SendMessage(TB_GETITEMRECT, commands.size() - 1, reinterpret_cast<LPARAM>(&last)))
        m_toolBarWidth = last.right;
}

BOOL CReaderTabView::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                          DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        if (CTabViewWindow::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId) && result == -1)
            return TRUE;
        OnCreate();
        result = 0;
        return TRUE;
    case WM_COMMAND:
        if (lParam != 0 && reinterpret_cast<HWND>(lParam) != m_toolBar)
            break;
        if (OnCommand(LOWORD(wParam))) {
            result = 0;
            return TRUE;
        }
        break;
    case WM_DESTROY:
        CloseAllPages();
        break;
    default:
        break;
    }
    return CTabViewWindow::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
