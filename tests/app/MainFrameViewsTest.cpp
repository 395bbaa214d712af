#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DocumentStore.h"
#include "FakeDocument.h"
#include "FrameFixture.h"
#include "app/frame/MainFrameMessages.h"
#include "app/frame/TessaryDocumentListCtrl.h"
#include "app/views/ReaderDocumentView.h"
#include "common/MessagePump.h"
#include "framework/ComInitialize.h"
#include "resources/ResourceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

// Notes the keys the URL-scheme handler asks the frame for.
class CAskedFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;

    std::vector<std::wstring> asked;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (message == WM_QEL_GETDOCUMENTFILENAME && wParam)
            asked.emplace_back(reinterpret_cast<const wchar_t*>(wParam));
        return CMainFrame::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

// A page whose browser has a document with a command target, which Wine's never has.
class CFakeBrowser : public CAtlWebBrowser {
public:
    ComPtr<CFakeDocument> document = CFakeDocument::Create();
    ComPtr<IDispatch> GetDocument() const override { return document; }
};

class CPrintablePage : public CWindowObject, public CReaderViewBase {
public:
    using CReaderViewBase::CReaderViewBase;
    CFakeBrowser browser;

    int GetViewType() const override { return kReaderHtmlView; }
    HWND GetWindow() const override { return m_hWnd; }
    std::wstring GetTitle() const override { return L"Printable"; }
    CAtlWebBrowser* GetBrowser() override { return &browser; }
};

}  // namespace

class MainFrameViews : public FrameFixtureT<CAskedFrame> {
protected:
    // The row selected as a click does; the list opens it when its timer fires.
    static void Select(CTessaryDocumentListCtrl& list, int row)
    {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SendMessage(WM_TIMER, CTessaryDocumentListCtrl::kSelectionTimer);
    }
    CReaderDocumentView* ActiveDocumentView() const
    {
        return dynamic_cast<CReaderDocumentView*>(frame->GetTabView().GetActiveView());
    }
    int SinglePane() const { return ActiveDocumentView()->GetSinglePaneMode(); }

    CComInitialize m_com;
};

TEST_F(MainFrameViews, ASelectedDocumentOpensInOneTabThatReadsItThroughTheScheme)
{
    CTessaryDatabase& database = frame->GetDatabase();
    const std::wstring key = StoreDocument(database, L"doc-1", {{L"index.htm", "<html>one</html>"}});
    StoreDocument(database, L"doc-2", {{L"index.htm", "<html>two</html>"}});
    TESSARYDOCUMENTDATA first;
    TESSARYDOCUMENTDATA second;
    ASSERT_TRUE(database.GetDocumentByGuid(kTestSubscription, L"doc-1", first));
    ASSERT_TRUE(database.GetDocumentByGuid(kTestSubscription, L"doc-2", second));
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.subscriptionGuid = kTestSubscription;
    attachment.documentGuid = L"doc-2";
    attachment.attachmentGuid = L"att-1";
    attachment.name = L"notes.txt";
    ASSERT_TRUE(database.UpdateAttachment(attachment, nullptr));

    CTessaryDocumentListCtrl* list = DocumentList();
    ASSERT_TRUE(list);
    list->SetDocuments({first, second}, std::wstring());
    const int firstRow = list->GetDocument(0)->documentGuid == L"doc-1" ? 0 : 1;
    Select(*list, firstRow);
    CReaderTabView& tabs = frame->GetTabView();
    ASSERT_EQ(1, tabs.GetPageCount());
    EXPECT_EQ(L"Tessary - doc-1", frame->GetWindowText());
    ASSERT_TRUE(PumpMessagesUntil([&] { return !frame->asked.empty(); }));
    EXPECT_EQ(std::vector<std::wstring>{key}, frame->asked);

    // No attachments: the browser alone, until "Attachments" shows the empty pane.
    EXPECT_EQ(SPLIT_PANE_TOP, SinglePane());
    frame->SendMessage(WM_COMMAND, ID_ATTACHMENTS);
    EXPECT_EQ(SPLIT_PANE_NONE, SinglePane());
    frame->SendMessage(WM_COMMAND, ID_ATTACHMENTS);
    EXPECT_EQ(SPLIT_PANE_TOP, SinglePane());

    // The next selection shows in the same tab, with its attachments pane.
    Select(*list, 1 - firstRow);
    EXPECT_EQ(1, tabs.GetPageCount());
    EXPECT_EQ(L"Tessary - doc-2", frame->GetWindowText());
    EXPECT_EQ(SPLIT_PANE_NONE, SinglePane());
    // The pane's close button hides it.
    const HWND pane = ::FindWindowExW(*ActiveDocumentView(), nullptr, nullptr, L"Document Information");
    ASSERT_TRUE(pane);
    ::SendMessageW(*ActiveDocumentView(), WM_COMMAND, ID_PANE_CLOSE, reinterpret_cast<LPARAM>(pane));
    EXPECT_EQ(SPLIT_PANE_TOP, SinglePane());

    // Both rows in new tabs: the open one is only activated.
    ListView_SetItemState(*list, -1, LVIS_SELECTED, LVIS_SELECTED);
    frame->OnDocumentsOpenInNewTabs(*list);
    EXPECT_EQ(2, tabs.GetPageCount());

    tabs.SendMessage(WM_COMMAND, ID_CLOSE_ALL);
    EXPECT_EQ(L"Tessary", frame->GetWindowText());
}

TEST_F(MainFrameViews, PrintCommandsGoToTheActivePagesBrowserWhenItHasThemEnabled)
{
    // No page: nothing to do.
    for (const UINT command : {ID_PRINT, ID_PRINT_PREVIEW, ID_PAGE_SETUP, ID_ATTACHMENTS})
        frame->SendMessage(WM_COMMAND, command);

    CReaderTabView& tabs = frame->GetTabView();
    auto page = std::make_unique<CPrintablePage>(&tabs);
    CFakeDocument& document = *page->browser.document.Get();
    page->Create(tabs, RECT{}, nullptr, WS_CHILD);
    ASSERT_TRUE(tabs.AddPage(std::move(page)));

    frame->SendMessage(WM_COMMAND, ID_PRINT);
    EXPECT_TRUE(document.calls.empty());
    document.status = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    for (const UINT command : {ID_PRINT, ID_PRINT_PREVIEW, ID_PAGE_SETUP})
        frame->SendMessage(WM_COMMAND, command);
    ASSERT_EQ(3u, document.calls.size());
    const DWORD expected[] = {IDM_PRINT, IDM_PRINTPREVIEW, IDM_PAGESETUP};
    for (size_t index = 0; index < 3; ++index) {
        EXPECT_EQ(expected[index], document.calls[index].id);
        EXPECT_EQ(static_cast<DWORD>(OLECMDEXECOPT_DODEFAULT), document.calls[index].option);
    }
}
