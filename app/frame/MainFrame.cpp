#include "app/frame/MainFrame.h"

#include <algorithm>
#include <vector>

#include "app/frame/MainFrameMessages.h"
#include "app/startup/ChooseAccount.h"
#include "app/sync/SyncDlg.h"
#include "controls/PaintingHelpers.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Translations.h"
#include "framework/MessageLoop.h"
#include "resources/ResourceIds.h"

namespace {

CMainFrame* g_mainFrame = nullptr;

constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr int kToolBarMinimumHeight = 33;
constexpr int kSplitterBarWidth = 6;

// Two rows of the chooser.
int ChooserHeight()
{
    return 2 * QelMenuRowHeight();
}

template <class Splitter>
void SetUpSplitter(Splitter& splitter, int minimumPane, int position)
{
    splitter.SetMinPaneSize(minimumPane);
    splitter.SetBarWidth(kSplitterBarWidth);
    splitter.SetFullDrag(FALSE);
    splitter.SetSplitterPos(position);
}

}  // namespace

// The dialog keeps only the database's address, which stands before the database is built.
CMainFrame::CMainFrame() : CMainFrame(std::make_unique<CSyncDlg>(&m_database)) {}

CMainFrame::CMainFrame(std::unique_ptr<ISyncDlg> syncDialog)
    : CQelWindowState<CMainFrame, CTessarySettings>(L"MainFrame_State"), m_syncDialog(std::move(syncDialog))
{
    g_mainFrame = this;
    m_folderTree.SetEvents(this);
    m_documentPane.GetList().SetEvents(this);
    m_bookmarkList.SetEvents(this);
    m_syncDialog->SetEvents(this);
}

CMainFrame::~CMainFrame()
{
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

CMainFrame* CMainFrame::GetMainFrame()
{
    return g_mainFrame;
}

BOOL CMainFrame::OpenDatabase()
{
    std::wstring folder;
    if (!ChooseAccount(folder))
        return FALSE;
    if (!m_database.Open(folder.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to open database: %1", folder.c_str()));
        return FALSE;
    }
    return TRUE;
}

void CMainFrame::RestoreLayout()
{
    RestoreState(TRUE);
    m_chooserSplitter.RestoreSplitterPos(L"Reader_CatalogChooserSplitter");
    m_catalogSplitter.RestoreSplitterPos(L"Reader_CatalogSplitter");
    m_documentsSplitter.RestoreSplitterPos(L"Reader_DocumentsSplitter");
}

void CMainFrame::OnCreate()
{
    // The frame works on without it; only the pages stay empty.
    RegisterOskanProtocol(m_hWnd, m_oskanProtocol);
    ::SetMenu(m_hWnd, nullptr);
    CreateToolBar();
    m_statusBarPane.Create(m_hWnd, RECT{}, L"Tessary",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP, 0,
                           kStatusBarId);
    m_statusBarPane.Init();
    m_statusBar = m_statusBarPane;
    CreateSplitters();

    if (CUiMessageLoop* loop = UiModule().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    m_folderTree.SetStateKey(L"FolderTreeCtrlState");
    m_chooser.RestoreState(L"CatalogChooserState");
    m_documentPane.RestoreState(L"DocumentListCtrlState");
    m_chooser.SetEvents(this);
    m_chooser.ApplySelection();
    m_syncDialog->CreateDialogWindow();
    UpdateZoomButton();
}

void CMainFrame::CreateToolBar()
{
    m_toolBarPane.Create(m_hWnd);
    m_toolBarPane.AddToolButton(ID_UPDATE, BTNS_BUTTON, TRUE, I_IMAGENONE);
    m_toolBarPane.AddSeparator();
    m_toolBarPane.AddToolButton(ID_FULL_SCREEN, BTNS_BUTTON, TRUE, I_IMAGENONE);
    m_toolBarPane.AddSeparator();
    m_toolBarPane.AddToolButton(ID_PRINT, BTNS_BUTTON, TRUE, I_IMAGENONE);
    m_toolBarPane.AddToolButton(ID_PRINT_PREVIEW, BTNS_BUTTON, TRUE, I_IMAGENONE);
    m_toolBarPane.AddToolButton(ID_PAGE_SETUP, BTNS_BUTTON, TRUE, I_IMAGENONE);
    m_toolBarPane.AddSeparator();
    m_toolBarPane.AddToolButton(ID_TOOLS, BTNS_WHOLEDROPDOWN, TRUE, I_IMAGENONE);
    m_toolBarPane.AddToolButton(ID_HELP, BTNS_WHOLEDROPDOWN, TRUE, I_IMAGENONE);
    m_toolBarPane.UpdateButtonSize();
    m_toolBar = m_toolBarPane;
    AddToolBar(m_toolBarPane);
}

void CMainFrame::CreateSplitters()
{
    m_catalogSplitter.Create(m_hWnd, RECT{}, nullptr, kPaneStyle);
    m_client = m_catalogSplitter;
    SetUpSplitter(m_catalogSplitter, 120, 120);

    m_chooserSplitter.Create(m_catalogSplitter, RECT{}, nullptr, kPaneStyle);
    m_chooserSplitter.SetSplitterExtendedStyle(SPLIT_BOTTOMALIGNED);
    CreateCatalogPanes();

    m_documentsSplitter.Create(m_catalogSplitter, RECT{}, nullptr, kPaneStyle);
    SetUpSplitter(m_documentsSplitter, 240, 240);
    CreateDocumentPanes();
    m_catalogSplitter.SetSplitterPanes(m_chooserSplitter, m_documentsSplitter);

    // With the frame's size known, the chooser's two rows stand at the bottom, where
    // they stay as the splitter grows.
    UpdateLayout();
    const RECT chooserArea = m_chooserSplitter.GetClientRect();
    SetUpSplitter(m_chooserSplitter, ChooserHeight(),
                  std::max<int>(0, chooserArea.bottom - kSplitterBarWidth - ChooserHeight()));
}

void CMainFrame::CreateCatalogPanes()
{
    m_container.Create(m_chooserSplitter, RECT{}, nullptr, kPaneStyle);
    m_bookmarkList.Create(m_container);
    m_folderTree.Create(m_container, RECT{}, nullptr, WS_CHILD | WS_VISIBLE);
    m_chooser.Create(m_chooserSplitter, RECT{}, nullptr, CCatalogChooser::kStyle);
    m_chooserSplitter.SetSplitterPanes(m_container, m_chooser);

    m_chooser.SetContainer(&m_container);
    m_chooser.AddEntry(QelTranslateStringResource(IDS_FOLDERS).c_str(), m_folderTree);
    m_chooser.AddEntry(QelTranslateStringResource(IDS_BOOKMARKS).c_str(), m_bookmarkList);
}

void CMainFrame::CreateDocumentPanes()
{
    m_documentPane.Create(m_documentsSplitter);
    m_tabView.Create(m_documentsSplitter, RECT{}, nullptr, kPaneStyle);
    // The caption reads "Tessary - <page title>", or "Tessary" with no page.
    m_tabView.SetTitleBarWindow(m_hWnd);
    m_tabView.SetMainFrame(m_hWnd);
    m_documentsSplitter.SetSplitterPanes(m_documentPane, m_tabView);
}

void CMainFrame::UpdateLayout()
{
    if (m_toolBarPane.IsWindow()) {
        const RECT client = GetClientRect();
        const int height = m_toolBarPane.GetIdealHeight(kToolBarMinimumHeight);
        m_toolBarPane.SetWindowPos(nullptr, RECT{0, 0, client.right, height}, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CFrameWindowObject::UpdateLayout();
}

BOOL CMainFrame::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        result = 0;
        return TRUE;
    case WM_CLOSE:
        if (!OnClose()) {
            result = 0;
            return TRUE;
        }
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_COMMAND:
        // Menu and tool bar commands; notifications of controls go back to them.
        if ((lParam == 0 || reinterpret_cast<HWND>(lParam) == m_toolBar) && OnCommand(LOWORD(wParam))) {
            result = 0;
            return TRUE;
        }
        break;
    case WM_QEL_GETDOCUMENTFILENAME:
        result = OnGetDocumentFileName(reinterpret_cast<const wchar_t*>(wParam), reinterpret_cast<wchar_t*>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        // Another page, another zoom.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == m_tabView && header->code == kTabViewPageActivated) {
            UpdateZoomButton();
            result = 0;
            return TRUE;
        }
        break;
    }
    }
    if (CQelWindowState<CMainFrame, CTessarySettings>::ProcessWindowMessage(hwnd, message, wParam, lParam, result,
                                                                             mapId))
        return TRUE;
    return CFrameWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

BOOL CMainFrame::OnClose()
{
    if (!m_syncDialog->IsSyncing())
        return TRUE;
    // Hidden until the sync ends, whose event closes the frame again; the placement
    // is saved then.
    ShowWindow(SW_HIDE);
    m_syncDialog->ShowAndActivate();
    m_closePending = TRUE;
    return FALSE;
}

void CMainFrame::OnDestroy()
{
    if (m_syncDialog->IsDialogWindow())
        m_syncDialog->DestroyDialogWindow();
    if (CUiMessageLoop* loop = UiModule().GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    // The splitters save their positions as they go, but only with both panes showing, and
    // a full screen widens the documents splitter: the saved layout is the two-pane one.
    if (m_fullScreen)
        ToggleFullScreen();
    m_documentsSplitter.SetSinglePaneMode(SPLIT_PANE_NONE);
}

void CMainFrame::OnSyncBegin()
{
    m_statusBarPane.OnSyncBegin();
}

void CMainFrame::OnSyncEnd()
{
    if (m_closePending) {
        PostMessage(WM_CLOSE);
        return;
    }
    m_statusBarPane.OnSyncEnd();
    m_documentPane.GetList().ReloadBookNames();
    m_folderTree.Refresh();
    // As a selection would: a quick view shows its documents again rather than an empty folder's.
    OnFolderSelected(m_folderTree);
}

void CMainFrame::OnSyncProgress(int position)
{
    m_statusBarPane.SetSyncProgress(position);
}

void CMainFrame::OnFolderSelected(CTessaryFolderTreeCtrl& tree)
{
    std::wstring book;
    std::wstring location;
    std::vector<TESSARYDOCUMENTDATA> documents;
    if (tree.GetSelection(book, location))
        m_documentPane.ShowLocation(book, location);
    else if (tree.GetSelectedDocuments(documents))
        m_documentPane.ShowDocuments(documents, std::wstring());
}

void CMainFrame::OnControlChooserSelChanged(CCatalogChooser& chooser)
{
    if (chooser.GetCurrentEntry() == kFoldersEntry)
        OnFolderSelected(m_folderTree);
    ShowDocumentsPanes();
}
