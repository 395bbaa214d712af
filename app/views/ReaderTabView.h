#pragma once
// The right pane of the main window: the open pages (document views and HTML views)
// behind the kit's tab strip, with the "View Windows" button at the strip's right end.
// The tab view owns the page objects; each page carries its CReaderViewBase as page data.
//
//   tabView.Create(splitter, rect);
//   tabView.SetMainFrame(frame);   // hears kTabViewPageActivated as WM_NOTIFY
//   tabView.OpenDocument(document, FALSE);
#include <windows.h>

#include <memory>
#include <vector>

#include "app/dialogs/WindowsDlg.h"
#include "app/views/ReaderViewBase.h"
#include "controls/TabControl.h"
#include "controls/ToolBar.h"
#include "framework/GdiOwners.h"
#include "framework/TabViewWindow.h"
#include "librarydata/Database.h"

class CReaderTabView : public CTabViewWindow {
public:
    static constexpr UINT kWindowListFirst = 0xFF00;
    static constexpr int kWindowListSize = 10;
    static constexpr UINT kWindowsDialog = 0xFFFE;

    explicit CReaderTabView(CTessaryDatabase* database) : m_database(database) {}
    ~CReaderTabView() override;

    void SetMainFrame(HWND frame) { m_mainFrame = frame; }

    // The page index: the page already showing the document, else the active document
    // view given the document (unless newTab), else a new page; -1 when that fails.
    int OpenDocument(const TESSARYDOCUMENTDATA& document, BOOL newTab);
    // A new HTML view navigated to the URL (none for null or empty); its index or -1.
    int OpenUrl(const wchar_t* url);
    // Takes the view, whose window is a child of this tab view; the insertion's result.
    BOOL AddPage(std::unique_ptr<CReaderViewBase> view);
    // -1 does nothing.
    void ClosePage(int index);
    void CloseAllPages();
    int FindDocumentPage(const TESSARYDOCUMENTDATA& document) const;
    CReaderViewBase* GetPageView(int index) const;
    CReaderViewBase* GetActiveView() const { return GetPageView(GetActivePage()); }
    void SetPageTitleByView(CReaderViewBase* view, const wchar_t* title);

    // Ctrl+Tab and Ctrl+Shift+Tab step through the pages; other messages are offered to
    // the active page as WM_FORWARDMSG. TRUE when the message is consumed.
    BOOL PreTranslateMessage(MSG* message);

    void UpdateLayout() override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    void OnTabContextMenu(int index, POINT screenPoint) override;
    void OnTabDoubleClick(int index) override { ClosePage(index); }
    void OnPageActivated(int index) override;
    // Shows a pop-up menu and returns the chosen command, 0 for none.
    virtual UINT TrackMenu(HMENU menu, POINT screenPoint);
    // The modal "Windows" dialog over the pages.
    virtual void ShowWindowsDialog();

private:
    void OnCreate();
    void CreateToolBar();
    BOOL OnCommand(UINT id);
    void ShowWindowList();
    void CloseMenuNeighbours(UINT id);
    void UpdateTabWidths();
    void DeleteView(CReaderViewBase* view);

    CTessaryDatabase* m_database;
    std::vector<std::unique_ptr<CReaderViewBase>> m_views;
    CQelVistaTabCtrl m_tabCtrl;
    CQelVistaToolBarCtrl m_toolBar;
    CImageListOwner m_toolBarImages;
    int m_toolBarWidth = 0;
    int m_itemHeight = 0;  // the tabs', from their font: the strip's height follows from it
    CMenuOwner m_tabMenu;
    int m_menuPage = -1;  // the tab whose menu is open, -1 for none
    HWND m_mainFrame = nullptr;
};

// The pages as the Windows dialog sees them: closed as the tab view closes them, views and all.
class CReaderWindowsDlgPages : public CWindowsDlgPages {
public:
    explicit CReaderWindowsDlgPages(CReaderTabView& tabView) : CWindowsDlgPages(tabView), m_readerTabView(tabView) {}
    void ClosePage(int index) override { m_readerTabView.ClosePage(index); }

private:
    CReaderTabView& m_readerTabView;
};
