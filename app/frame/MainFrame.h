#pragma once
// The program's one top-level window. It owns the account's database and every pane:
// the tool bar on top, the status bar below, and between them the catalog splitter,
// whose left pane is the chooser splitter (the container with the folder tree or the
// bookmark list over the catalog chooser) and whose right pane is the documents
// splitter (the document pane beside the tab view). Its close waits for a running sync.
#include <memory>
#include <string>

#include "app/frame/BookmarkListBox.h"
#include "app/frame/CatalogChooser.h"
#include "app/frame/ControlContainer.h"
#include "app/frame/DocumentPane.h"
#include "app/frame/FolderTreeCtrl.h"
#include "app/frame/OskanToolBar.h"
#include "app/frame/ReaderStatusBar.h"
#include "app/sync/SyncDlgInterface.h"
#include "app/views/OskanProtocol.h"
#include "app/views/ReaderTabView.h"
#include "controls/SplitterWindow.h"
#include "controls/ToolBar.h"
#include "foundation/Settings.h"
#include "foundation/WindowState.h"
#include "framework/FrameWindow.h"
#include "librarydata/Database.h"

class CMainFrame : public CFrameWindowObject,
                   public CQelWindowState<CMainFrame, CTessarySettings>,
                   public IQelControlChooserEvents,
                   public ITessaryFolderTreeCtrlEvents,
                   public ITessaryDocumentListCtrlEvents,
                   public IBookmarkListBoxEvents,
                   public ISyncDlgEvents {
public:
    static constexpr UINT kStatusBarId = 0xE801;
    static constexpr int kFoldersEntry = 0;
    static constexpr int kBookmarksEntry = 1;

    CMainFrame();
    // The sync dialog given; tests give one that can pretend to sync.
    explicit CMainFrame(std::unique_ptr<ISyncDlg> syncDialog);
    ~CMainFrame() override;

    // The frame of this process, nullptr when there is none.
    static CMainFrame* GetMainFrame();

    // Chooses the account and opens its database; FALSE after a cancelled choice or a
    // database that does not open.
    BOOL OpenDatabase();
    // The saved placement (which shows the window) and the saved splitter positions.
    void RestoreLayout();

    BOOL IsFullScreen() const { return m_fullScreen; }
    BOOL IsClosePending() const { return m_closePending; }
    CTessaryDatabase& GetDatabase() { return m_database; }

    CReaderTabView& GetTabView() { return m_tabView; }

    void UpdateLayout() override;
    // The tab view's keys first, then the frame's.
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    void OnControlChooserSelChanged(CCatalogChooser& chooser) override;
    // The document pane shows the selected folder's documents, or a quick view's.
    void OnFolderSelected(CTessaryFolderTreeCtrl& tree) override;
    // The selected document in the active document page, or the selected ones in new tabs.
    void OnDocumentOpen(CTessaryDocumentListCtrl& list) override;
    void OnDocumentsOpenInNewTabs(CTessaryDocumentListCtrl& list) override;
    // A bookmark holds its name, but nothing opens it.
    void OnBookmarkActivate(CBookmarkListBox&) override {}
    void OnSyncBegin() override;
    void OnSyncEnd() override;
    void OnSyncProgress(int position) override;

    // The active page's zoom in percent, 100 when no page can zoom.
    int GetZoom();
    // Clamped to 10..1000 on a page that can zoom; the zoom button follows in any case.
    void SetZoom(int percent);

protected:
    // The commands of the tool bar's drop-down menus.
    virtual void OnNewAccount();
    virtual void OnAbout();
    // The tab view's active page, as the zoom commands reach it.
    virtual BOOL CanZoomActivePage();
    virtual int GetActivePageZoom();
    virtual void SetActivePageZoom(int percent);

private:
    void OnCreate();
    void CreateToolBar();
    void CreateSplitters();
    void CreateCatalogPanes();
    void CreateDocumentPanes();
    void OnDestroy();
    // FALSE when the close waits for the running sync.
    BOOL OnClose();
    BOOL OnCommand(UINT id);
    void ToggleFullScreen();
    // The print commands and "Attachments", for the active page.
    void OnViewCommand(UINT id);
    // A print command of the active page's browser: E_FAIL without one or while the page
    // has it disabled.
    HRESULT ExecBrowserCommand(DWORD command);
    void OnZoomCommand(UINT id);
    void UpdateZoomButton();
    // The documents splitter as full screen and the chooser's entry want it.
    void ShowDocumentsPanes();
    LRESULT OnGetDocumentFileName(const wchar_t* request, wchar_t* reply);

    CTessaryDatabase m_database;
    // oskan:// for this process from WM_CREATE until the frame object goes.
    COskanProtocolRegistration m_oskanProtocol;
    BOOL m_closePending = FALSE;
    BOOL m_fullScreen = FALSE;
    std::unique_ptr<ISyncDlg> m_syncDialog;
    COskanToolBar m_toolBarPane;
    CReaderStatusBar m_statusBarPane;
    CBookmarkListBox m_bookmarkList;
    CFolderTreeCtrl m_folderTree{&m_database};
    CQelControlContainer m_container;
    CCatalogChooser m_chooser;
    CQelVistaSplitterWindowT<false, CTessarySettings> m_chooserSplitter;
    CQelVistaSplitterWindowT<true, CTessarySettings> m_catalogSplitter;
    CDocumentPane m_documentPane{&m_database};
    CQelVistaSplitterWindowT<true, CTessarySettings> m_documentsSplitter;
    CReaderTabView m_tabView{&m_database};
};
