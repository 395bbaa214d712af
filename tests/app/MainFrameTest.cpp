#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "DocumentStore.h"
#include "FrameFixture.h"
#include "PixelCapture.h"
#include "UrlMonReader.h"
#include "app/frame/MainFrameMessages.h"
#include "foundation/Paths.h"
#include "foundation/Settings.h"
#include "framework/Handle.h"
#include "resources/ResourceIds.h"

namespace {

std::wstring ClassName(HWND window)
{
    wchar_t name[256]{};
    ::GetClassNameW(window, name, 256);
    return name;
}

BOOL IsButtonChecked(HWND toolBar, UINT command)
{
    return ::SendMessageW(toolBar, TB_ISBUTTONCHECKED, command, 0) != 0;
}

CReaderStatusBar& StatusBar(const CMainFrame& frame)
{
    return *dynamic_cast<CReaderStatusBar*>(CWindowObject::FromHandle(frame.m_statusBar));
}

std::wstring ZoomText(const CMainFrame& frame)
{
    wchar_t text[32]{};
    ::SendMessageW(StatusBar(frame).GetZoomToolBar(), TB_GETBUTTONTEXTW, ID_ZOOM, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL IsZoomEnabled(const CMainFrame& frame)
{
    return ::SendMessageW(StatusBar(frame).GetZoomToolBar(), TB_ISBUTTONENABLED, ID_ZOOM, 0) != 0;
}

// Whether the row's second line shows text where a book name stands before its folder:
// darker pixels than any row background, past the first few characters.
bool ShowsBookName(HWND list, int row)
{
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const CPixelCapture picture(list);
    const LONG line = (bounds.top + 3 * bounds.bottom) / 4;
    for (LONG y = line - 3; y <= line + 3; ++y) {
        for (LONG x = bounds.left + 25; x < bounds.left + 60; ++x) {
            const COLORREF pixel = picture.At(x, y);
            if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 200)
                return true;
        }
    }
    return false;
}

// A page of the tab view whose zoom the test reads.
class CZoomablePage : public CWindowObject, public CReaderViewBase {
public:
    CZoomablePage(CReaderTabView* tabView, BOOL zoomable) : CReaderViewBase(tabView), m_zoomable(zoomable) {}
    int zoom = 90;

    int GetViewType() const override { return kReaderHtmlView; }
    HWND GetWindow() const override { return m_hWnd; }
    std::wstring GetTitle() const override { return L"Zoomable"; }
    BOOL CanZoom() override { return m_zoomable; }
    void SetZoom(int percent) override { zoom = percent; }
    int GetZoom() override { return zoom; }

private:
    BOOL m_zoomable;
};

CZoomablePage* AddZoomablePage(CReaderTabView& tabs, BOOL zoomable)
{
    auto page = std::make_unique<CZoomablePage>(&tabs, zoomable);
    CZoomablePage* added = page.get();
    page->Create(tabs, RECT{}, nullptr, WS_CHILD);
    EXPECT_TRUE(tabs.AddPage(std::move(page)));
    return added;
}

}  // namespace

using MainFrame = FrameFixture;

TEST_F(MainFrame, BuildsItsWindowTreeWithoutMenu)
{
    EXPECT_EQ(L"ATL:", ClassName(*frame).substr(0, 4));
    EXPECT_EQ(L"Tessary", frame->GetWindowText());
    EXPECT_FALSE(::GetMenu(*frame));
    EXPECT_TRUE(frame->IsWindowVisible());

    // Tool bar above, with its commands.
    const HWND toolBar = frame->m_toolBar;
    ASSERT_EQ(*frame, ::GetParent(toolBar));
    EXPECT_EQ(10, ::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (const UINT command : {ID_UPDATE, ID_FULL_SCREEN, ID_PRINT, ID_PRINT_PREVIEW, ID_PAGE_SETUP})
        EXPECT_GE(::SendMessageW(toolBar, TB_COMMANDTOINDEX, command, 0), 0) << command;
    EXPECT_GE(CWindowRef(toolBar).GetRectInParent().bottom, 33);

    // Status bar below, the catalog splitter between.
    const CWindowRef statusBar(frame->m_statusBar);
    EXPECT_EQ(L"Tessary", statusBar.GetWindowText());
    EXPECT_EQ(L"Qel_SplitterWindow", ClassName(frame->m_client));
    ASSERT_TRUE(CatalogSplitter() && ChooserSplitter() && DocumentsSplitter());
    EXPECT_LT(ChooserSplitter()->GetRectInParent().left, DocumentsSplitter()->GetRectInParent().left);

    // The chooser's two entries at the bottom of the left column, "Folders" chosen first.
    const HWND chooser = Chooser();
    ASSERT_EQ(2, ::SendMessageW(chooser, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(CMainFrame::kFoldersEntry, ::SendMessageW(chooser, LB_GETCURSEL, 0, 0));
    const RECT column = ChooserSplitter()->GetClientRect();
    EXPECT_EQ(column.bottom, CWindowRef(chooser).GetRectInParent().bottom);
    // Exactly its two rows.
    EXPECT_EQ(2 * ::SendMessageW(chooser, LB_GETITEMHEIGHT, 0, 0),
              CWindowRef(chooser).GetRectInParent().bottom - CWindowRef(chooser).GetRectInParent().top);
    EXPECT_EQ(SPLIT_PANE_NONE, DocumentsSplitter()->GetSinglePaneMode());
}

TEST_F(MainFrame, SplitterPositionsAndTheChoiceAreSavedAndRestored)
{
    CatalogSplitter()->SetSplitterPos(200);
    DocumentsSplitter()->SetSplitterPos(300);
    ChooserSplitter()->SetSplitterPos(400);
    CloseFrame();
    OpenFrame();
    EXPECT_EQ(200, CatalogSplitter()->GetSplitterPos());
    EXPECT_EQ(300, DocumentsSplitter()->GetSplitterPos());
    EXPECT_EQ(400, ChooserSplitter()->GetSplitterPos());

    // A move before "Bookmarks" hides the document pane is kept.
    DocumentsSplitter()->SetSplitterPos(350);
    ChooseEntry(CMainFrame::kBookmarksEntry);
    CloseFrame();
    {
        CTessarySettings settings;
        EXPECT_EQ(350, settings.GetInt(L"Reader_DocumentsSplitter", L"SplitterPos", -1));
        EXPECT_EQ(1, settings.GetInt(L"CatalogChooserState", L"Index", -1));
        EXPECT_EQ(20, settings.GetInt(L"MainFrame_State", L"Left", -1));
    }
    OpenFrame();
    EXPECT_EQ(CMainFrame::kBookmarksEntry, ::SendMessageW(Chooser(), LB_GETCURSEL, 0, 0));
    EXPECT_EQ(SPLIT_PANE_RIGHT, DocumentsSplitter()->GetSinglePaneMode());
}

TEST_F(MainFrame, FullScreenIsItsOwnStateWhicheverEntryIsChosen)
{
    const HWND toolBar = frame->m_toolBar;
    for (const int entry : {CMainFrame::kFoldersEntry, CMainFrame::kBookmarksEntry}) {
        SCOPED_TRACE(entry);
        ChooseEntry(entry);
        const int documentsMode = entry == CMainFrame::kBookmarksEntry ? SPLIT_PANE_RIGHT : SPLIT_PANE_NONE;
        frame->SendMessage(WM_COMMAND, ID_FULL_SCREEN);
        frame->OnIdle();
        EXPECT_TRUE(frame->IsFullScreen());
        EXPECT_TRUE(IsButtonChecked(toolBar, ID_FULL_SCREEN));
        EXPECT_EQ(SPLIT_PANE_RIGHT, CatalogSplitter()->GetSinglePaneMode());
        EXPECT_EQ(SPLIT_PANE_RIGHT, DocumentsSplitter()->GetSinglePaneMode());
        EXPECT_FALSE(CWindowRef(frame->m_statusBar).IsWindowVisible());
        // The tab view's column reaches the status bar's place.
        EXPECT_EQ(frame->GetClientRect().bottom, CWindowRef(frame->m_client).GetRectInParent().bottom);

        frame->SendMessage(WM_COMMAND, ID_FULL_SCREEN);
        frame->OnIdle();
        EXPECT_FALSE(IsButtonChecked(toolBar, ID_FULL_SCREEN));
        EXPECT_EQ(SPLIT_PANE_NONE, CatalogSplitter()->GetSinglePaneMode());
        EXPECT_EQ(documentsMode, DocumentsSplitter()->GetSinglePaneMode());
        EXPECT_TRUE(CWindowRef(frame->m_statusBar).IsWindowVisible());
    }
    // Closed in full screen, the splitters keep their last two-pane positions.
    ChooseEntry(CMainFrame::kFoldersEntry);
    CatalogSplitter()->SetSplitterPos(300);
    DocumentsSplitter()->SetSplitterPos(320);
    frame->SendMessage(WM_COMMAND, ID_FULL_SCREEN);
    CloseFrame();
    CTessarySettings settings;
    EXPECT_EQ(300, settings.GetInt(L"Reader_CatalogSplitter", L"SplitterPos", -1));
    EXPECT_EQ(320, settings.GetInt(L"Reader_DocumentsSplitter", L"SplitterPos", -1));
}

TEST_F(MainFrame, AnswersTheDataFilePathOfWellFormedKeysWithAFile)
{
    wchar_t reply[kDocumentFileNameLength]{};
    const auto ask = [&](const wchar_t* key) {
        reply[0] = 0;
        return frame->SendMessage(WM_QEL_GETDOCUMENTFILENAME, reinterpret_cast<WPARAM>(key),
                                  reinterpret_cast<LPARAM>(reply));
    };
    const std::wstring subscription = L"5d0c4a4e-0b7e-4a43-9a55-0d1f0a3c9b10";
    const std::wstring document = L"0f4f2a1b-77c1-4d55-8a3b-6a2e1c9d8e21";
    const std::wstring key = subscription + L"_" + document;
    const std::wstring path = frame->GetDatabase().GetDocumentFileName(subscription.c_str(), document.c_str());

    EXPECT_EQ(0, ask(key.c_str()));  // no file yet
    QelCreateDirectoryTree(QelExtractFilePath(path.c_str()).c_str());
    const CHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(1, ask(key.c_str()));
    EXPECT_EQ(path, reply);

    EXPECT_EQ(0, ask((subscription + document).c_str()));
    EXPECT_EQ(0, ask((key + L"_x").c_str()));
    EXPECT_EQ(0, ask(L""));
    EXPECT_EQ(0, frame->SendMessage(WM_QEL_GETDOCUMENTFILENAME, reinterpret_cast<WPARAM>(key.c_str()), 0));
}

TEST_F(MainFrame, ServesItsDocumentsThroughTheSchemeUntilTheFrameGoes)
{
    const std::wstring url =
        L"oskan://" + StoreDocument(frame->GetDatabase(), L"2b7c9e4d-1a3f-4e6b-9c8d-5f0a1b2c3d4e",
                                    {{L"index.htm", "<p>page</p>"}});
    CUrlMonRead read;
    ASSERT_TRUE(ReadThroughUrlMon(url.c_str(), read));
    EXPECT_EQ("<p>page</p>", read.bytes);
    CloseFrame();
    ASSERT_TRUE(ReadThroughUrlMon(url.c_str(), read));
    EXPECT_TRUE(FAILED(read.result));
}

TEST_F(MainFrame, ACloseDuringASyncWaitsHiddenForItsEnd)
{
    sync->syncing = TRUE;
    frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(frame->IsWindow());
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_EQ(1, sync->shown);
    EXPECT_TRUE(frame->IsClosePending());
    EXPECT_EQ(-2, DrainQuit());

    sync->syncing = FALSE;
    sync->events->OnSyncEnd();
    EXPECT_EQ(1, DrainQuit());
    EXPECT_FALSE(frame->IsWindow());
}

TEST_F(MainFrame, TheListFollowsTheTreeAndASyncsEndRefillsItAsASelectionWould)
{
    CTessaryDatabase& database = frame->GetDatabase();
    const wchar_t* book = L"aaaaaaaa-0000-0000-0000-000000000001";
    const wchar_t* laterBook = L"bbbbbbbb-0000-0000-0000-000000000002";
    ASSERT_TRUE(database.SetSubscriptionName(book, L"Book"));
    const auto addDocument = [&](const wchar_t* guid, const wchar_t* location, const wchar_t* inBook) {
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = inBook;
        document.documentGuid = guid;
        document.location = location;
        document.title = guid;
        document.created = document.modified = 1000;
        ASSERT_TRUE(database.UpdateDocument(document, nullptr));
    };
    addDocument(L"d0000000-0000-0000-0000-000000000001", L"/a/", book);
    sync->events->OnSyncEnd();

    const HWND container = FindChild(*ChooserSplitter(), L"Qel_ControlContainer");
    auto* tree = dynamic_cast<CTessaryFolderTreeCtrl*>(CWindowObject::FromHandle(FindChild(container, L"Qel_TreeCtrl")));
    CTessaryDocumentListCtrl* list = DocumentList();
    ASSERT_TRUE(tree && list);
    const auto rows = [&] { return list->SendMessage(LVM_GETITEMCOUNT); };
    const HTREEITEM quickViews = tree->GetNextItem(nullptr, TVGN_ROOT);
    ASSERT_EQ(L"Quick Views", tree->GetItemText(quickViews));
    tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(quickViews));
    EXPECT_EQ(1, rows());
    EXPECT_TRUE(ShowsBookName(*list, 0));  // the names are read as the rows are drawn

    // The next sync brings a book; its documents name it too.
    ASSERT_TRUE(database.SetSubscriptionName(laterBook, L"Later Book"));
    addDocument(L"d0000000-0000-0000-0000-000000000002", L"/b/", laterBook);
    sync->events->OnSyncEnd();
    EXPECT_EQ(L"Quick Views", tree->GetItemText(tree->GetSelectedItem()));
    ASSERT_EQ(2, rows());
    EXPECT_TRUE(ShowsBookName(*list, list->GetDocument(0)->subscriptionGuid == laterBook ? 0 : 1));

    const HTREEITEM bookItem = tree->GetNextItem(tree->GetSelectedItem(), TVGN_NEXT);
    tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tree->GetNextItem(bookItem, TVGN_CHILD)));
    EXPECT_EQ(L"/a/", tree->GetSelectedLocation());
    EXPECT_EQ(1, rows());
}

TEST_F(MainFrame, SyncEventsDriveTheStatusBarsSyncPaneWhoseDetailsShowTheDialog)
{
    CReaderStatusBarSyncPane& pane = StatusBar(*frame).GetSyncPane();
    EXPECT_FALSE(pane.IsWindowVisible());
    sync->events->OnSyncBegin();
    sync->events->OnSyncProgress(30);
    EXPECT_TRUE(pane.IsWindowVisible());
    EXPECT_EQ(30, pane.GetProgress());
    sync->events->OnSyncEnd();
    EXPECT_FALSE(pane.IsDetailsVisible());
    EXPECT_EQ(-2, DrainQuit());  // no close was pending

    frame->SendMessage(WM_COMMAND, CReaderStatusBarSyncPane::kDetailsId);
    EXPECT_EQ(1, sync->shown);
}

TEST_F(MainFrame, TheAdvertisementStripShowsOnlyWhenItsTimerFiresAndOpensItsPageOnce)
{
    const auto* toolBar = dynamic_cast<COskanToolBar*>(CWindowObject::FromHandle(frame->m_toolBar));
    ASSERT_TRUE(toolBar);
    const COskanADBrowser& strip = toolBar->GetAdBrowser();
    ASSERT_TRUE(strip.IsWindow());
    EXPECT_EQ(*toolBar, strip.GetParent());
    EXPECT_FALSE(strip.IsWindowVisible());
    EXPECT_EQ(0, strip.GetNavigationCount());

    ::SendMessageW(*toolBar, WM_TIMER, COskanToolBar::kAdTimerId, 0);
    EXPECT_TRUE(strip.IsWindowVisible());
    EXPECT_EQ(1, strip.GetNavigationCount());
    EXPECT_EQ(L"http://ads.tessary.test/?n=qrdv1&p=tv&m=mark&s=" + std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) +
                  L"X" + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN)) + L"&m=app_tests",
              strip.GetLastUrl());
    // 234 x 30, 1 pixel from the top and the right, also after the frame is resized.
    for (const int width : {900, 700}) {
        frame->SetWindowPos(nullptr, RECT{20, 20, 20 + width, 720}, SWP_NOZORDER);
        const RECT placed = strip.GetRectInParent();
        const RECT client = toolBar->GetClientRect();
        EXPECT_EQ(client.right - 1, placed.right) << width;
        EXPECT_EQ(1, placed.top) << width;
        EXPECT_EQ(234, placed.right - placed.left) << width;
        EXPECT_EQ(30, placed.bottom - placed.top) << width;
    }

    ::SendMessageW(*toolBar, WM_TIMER, COskanToolBar::kAdTimerId, 0);
    EXPECT_EQ(1, strip.GetNavigationCount());
}

TEST_F(MainFrame, ZoomCommandsStepTheActiveTabWithinItsLimitsAndTheButtonFollowsIt)
{
    // Without a page nothing moves.
    EXPECT_EQ(L"100%", ZoomText(*frame));
    EXPECT_FALSE(IsZoomEnabled(*frame));
    for (UINT command = ID_ZOOM; command <= ID_ZOOM_CUSTOM; ++command) {
        frame->SendMessage(WM_COMMAND, command);
        EXPECT_EQ(L"100%", ZoomText(*frame)) << command;
    }

    CReaderTabView& tabs = frame->GetTabView();
    CZoomablePage* page = AddZoomablePage(tabs, TRUE);
    EXPECT_EQ(L"90%", ZoomText(*frame));
    EXPECT_TRUE(IsZoomEnabled(*frame));
    const auto run = [&](int from, UINT command) {
        page->zoom = from;
        frame->SendMessage(WM_COMMAND, command);
        return page->zoom;
    };
    EXPECT_EQ(100, run(90, ID_ZOOM));
    EXPECT_EQ(125, run(100, ID_ZOOM));
    EXPECT_EQ(150, run(140, ID_ZOOM));
    EXPECT_EQ(100, run(150, ID_ZOOM));
    EXPECT_EQ(1000, run(995, ID_ZOOM_IN));
    EXPECT_EQ(10, run(15, ID_ZOOM_OUT));
    EXPECT_EQ(60, run(70, ID_ZOOM_OUT));
    EXPECT_EQ(333, run(333, ID_ZOOM_CUSTOM));
    EXPECT_EQ(75, run(400, ID_ZOOM_75));
    EXPECT_EQ(L"75%", ZoomText(*frame));

    // A page that cannot zoom: the button shows 100% disabled, and the other page keeps its zoom.
    AddZoomablePage(tabs, FALSE);
    EXPECT_EQ(L"100%", ZoomText(*frame));
    EXPECT_FALSE(IsZoomEnabled(*frame));
    frame->SendMessage(WM_COMMAND, ID_ZOOM_IN);
    EXPECT_EQ(75, page->zoom);
    tabs.SetActivePage(0);
    EXPECT_EQ(L"75%", ZoomText(*frame));
    tabs.SendMessage(WM_COMMAND, ID_CLOSE_ALL);
    EXPECT_EQ(L"100%", ZoomText(*frame));
    EXPECT_FALSE(IsZoomEnabled(*frame));
}
