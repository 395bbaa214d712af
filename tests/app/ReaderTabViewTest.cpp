#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <exdispid.h>

#include <memory>
#include <string>
#include <vector>

#include "BrowserEventArguments.h"
#include "app/views/ReaderDocumentView.h"
#include "app/views/ReaderHtmlView.h"
#include "app/views/ReaderTabView.h"
#include "foundation/TestFolder.h"
#include "framework/ActiveXIds.h"
#include "framework/ComInitialize.h"
#include "framework/Variant.h"
#include "resources/ResourceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

class CParent : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};

// A page that keeps only its title, and notes the messages offered to it and its end.
class CFakeView : public CWindowObject, public CReaderViewBase {
public:
    CFakeView(CReaderTabView* tabView, std::wstring title, std::vector<std::wstring>& deleted)
        : CReaderViewBase(tabView), m_title(std::move(title)), m_deleted(deleted)
    {
    }
    ~CFakeView() override { m_deleted.push_back(m_title); }

    int GetViewType() const override { return kReaderHtmlView; }
    HWND GetWindow() const override { return m_hWnd; }
    std::wstring GetTitle() const override { return m_title; }

    std::vector<UINT> forwarded;
    LRESULT forwardAnswer = 0;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (message != WM_FORWARDMSG)
            return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
        forwarded.push_back(reinterpret_cast<const MSG*>(lParam)->message);
        result = forwardAnswer;
        return TRUE;
    }

private:
    std::wstring m_title;
    std::vector<std::wstring>& m_deleted;
};

// A menu item as a user sees it.
struct CMenuLine {
    UINT id;
    std::wstring text;
    BOOL grayed;
    BOOL checked;
};

// The pop-up menus are read instead of tracked; the test chooses the command.
class CTestTabView : public CReaderTabView {
public:
    using CReaderTabView::CReaderTabView;

    std::vector<CMenuLine> lastMenu;
    UINT choice = 0;
    int dialogs = 0;

protected:
    UINT TrackMenu(HMENU menu, POINT) override
    {
        lastMenu.clear();
        for (int index = 0; index < ::GetMenuItemCount(menu); ++index) {
            wchar_t text[128]{};
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
            item.dwTypeData = text;
            item.cch = 128;
            ::GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item);
            lastMenu.push_back({item.wID, text, (item.fState & MFS_GRAYED) != 0, (item.fState & MFS_CHECKED) != 0});
        }
        return choice;
    }
    void ShowWindowsDialog() override { ++dialogs; }
};

// Calls a browser's event slot as its event sink's Invoke does.
struct CEventSlots : CAtlWebBrowser {
    static void Fire(CAtlWebBrowser& browser, DISPID id, DISPPARAMS& params)
    {
        (browser.*(&CEventSlots::OnDispatchEvent))(id, params);
    }
};

class ReaderTabViewTest : public ::testing::Test {
protected:
    ReaderTabViewTest()
    {
        m_database.Open(m_folder.Path().c_str());
        m_parent.Create(nullptr, RECT{0, 0, 1300, 500}, L"Tessary");
        m_tabView.Create(m_parent, RECT{0, 0, 1200, 400});
    }
    ~ReaderTabViewTest() override { m_parent.DestroyWindow(); }

    static TESSARYDOCUMENTDATA Document(const wchar_t* documentGuid, const wchar_t* title)
    {
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = L"5B1D6F0E-7A2C-4C11-9E0F-3D2B1A0C9E8D";
        document.documentGuid = documentGuid;
        document.title = title;
        return document;
    }

    CFakeView* AddFake(const std::wstring& title)
    {
        auto view = std::make_unique<CFakeView>(&m_tabView, title, m_deleted);
        CFakeView* page = view.get();
        view->Create(m_tabView, RECT{}, nullptr, WS_CHILD);
        EXPECT_TRUE(m_tabView.AddPage(std::move(view)));
        return page;
    }
    void AddFakes(int count)
    {
        for (int index = 0; index < count; ++index)
            AddFake(std::to_wstring(index));
    }
    std::vector<std::wstring> Titles() const
    {
        std::vector<std::wstring> titles;
        for (int index = 0; index < m_tabView.GetPageCount(); ++index)
            titles.push_back(m_tabView.GetPageTitle(index));
        return titles;
    }
    // A right click on the tab, with the test's choice from its menu.
    void ChooseFromTabMenu(int tab, UINT command)
    {
        RECT item{};
        TabCtrl_GetItemRect(m_tabView.GetTabStrip(), tab, &item);
        m_tabView.choice = command;
        ::SendMessageW(m_tabView.GetTabStrip(), WM_RBUTTONUP, 0,
                       MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    }
    const CMenuLine* MenuLine(UINT id) const
    {
        for (const CMenuLine& line : m_tabView.lastMenu) {
            if (line.id == id)
                return &line;
        }
        return nullptr;
    }
    int TabWidth(int tab) const
    {
        RECT item{};
        TabCtrl_GetItemRect(m_tabView.GetTabStrip(), tab, &item);
        return item.right - item.left;
    }

    CComInitialize m_com;
    TestFolder m_folder;
    CTessaryDatabase m_database;
    CParent m_parent;
    CTestTabView m_tabView{&m_database};
    std::vector<std::wstring> m_deleted;
};

TEST_F(ReaderTabViewTest, OpenDocumentFindsTheOpenPageReusesTheActiveDocumentViewOrAddsAPage)
{
    wchar_t name[32]{};
    ::GetClassNameW(m_tabView, name, 32);
    EXPECT_STREQ(L"Qel_TabView", name);
    EXPECT_FALSE(CWindowRef(m_tabView.GetTabStrip()).GetStyle() & WS_VISIBLE);

    // The first document makes the first page and shows the strip.
    EXPECT_EQ(0, m_tabView.OpenDocument(Document(L"doc-a", L"A"), FALSE));
    EXPECT_TRUE(CWindowRef(m_tabView.GetTabStrip()).GetStyle() & WS_VISIBLE);
    EXPECT_EQ(1, m_tabView.OpenDocument(Document(L"doc-b", L"B"), TRUE));
    // An open document is activated, its GUIDs compared without regard to case.
    TESSARYDOCUMENTDATA again = Document(L"DOC-A", L"A");
    again.subscriptionGuid = L"5b1d6f0e-7a2c-4c11-9e0f-3d2b1a0c9e8d";
    EXPECT_EQ(0, m_tabView.OpenDocument(again, FALSE));
    EXPECT_EQ(0, m_tabView.GetActivePage());

    // The active document view is given another document, and its tab the title.
    EXPECT_EQ(0, m_tabView.OpenDocument(Document(L"doc-c", L"C"), FALSE));
    EXPECT_EQ((std::vector<std::wstring>{L"C", L"B"}), Titles());
    auto* view = dynamic_cast<CReaderDocumentView*>(m_tabView.GetPageView(0));
    ASSERT_TRUE(view);
    EXPECT_EQ(L"doc-c", view->GetBrowserView().GetDocumentData().documentGuid);
    EXPECT_EQ(-1, m_tabView.FindDocumentPage(Document(L"doc-a", L"A")));

    // An HTML page is active: the document gets a page of its own.
    EXPECT_EQ(2, m_tabView.OpenUrl(L"about:blank"));
    EXPECT_EQ(L"blank", m_tabView.GetPageTitle(2));
    EXPECT_EQ(3, m_tabView.OpenDocument(Document(L"doc-d", L"D"), FALSE));
    EXPECT_EQ(nullptr, m_tabView.GetPageView(4));
    EXPECT_EQ(nullptr, m_tabView.GetPageView(-1));
}

TEST_F(ReaderTabViewTest, TabsShareTheStripUpTo200PixelsAtAHeightNoLayoutChanges)
{
    AddFake(L"first");
    const CWindowRef strip(m_tabView.GetTabStrip());
    const LONG height = strip.GetClientRect().bottom;
    EXPECT_GT(height, 0);
    AddFakes(9);
    // Make the strip 1020 pixels wide beside the tool bar.
    const int toolBarWidth = 1200 - strip.GetClientRect().right;
    EXPECT_GT(toolBarWidth, 0);
    m_tabView.SetWindowPos(nullptr, RECT{0, 0, 1020 + toolBarWidth, 400}, SWP_NOZORDER);
    EXPECT_EQ(1020, strip.GetClientRect().right);
    EXPECT_EQ(100, TabWidth(0));
    for (int index = 9; index >= 2; --index)
        m_tabView.ClosePage(index);
    EXPECT_EQ(200, TabWidth(1));

    for (int layout = 0; layout < 20; ++layout)
        m_tabView.SetActivePage(layout % 2);
    EXPECT_EQ(height, strip.GetClientRect().bottom);
    RECT tab{};
    TabCtrl_GetItemRect(strip, 0, &tab);
    EXPECT_LE(tab.bottom, height);
    // The page starts below the strip.
    EXPECT_EQ(height, CWindowRef(m_tabView.GetPageWindow(0)).GetRectInParent().top);
}

TEST_F(ReaderTabViewTest, CloseCommandsActAroundTheMenusTabAndGreyTheEnds)
{
    AddFakes(6);
    // The first tab greys "Close Left"; "Close Tab" closes the menu's tab, not the active one.
    ChooseFromTabMenu(0, ID_CLOSE_TAB);
    ASSERT_TRUE(MenuLine(ID_CLOSE_LEFT) && MenuLine(ID_CLOSE_RIGHT));
    EXPECT_TRUE(MenuLine(ID_CLOSE_LEFT)->grayed);
    EXPECT_FALSE(MenuLine(ID_CLOSE_RIGHT)->grayed);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}), Titles());
    EXPECT_EQ(std::vector<std::wstring>{L"0"}, m_deleted);

    ChooseFromTabMenu(2, ID_CLOSE_RIGHT);
    EXPECT_FALSE(MenuLine(ID_CLOSE_LEFT)->grayed);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), Titles());
    ChooseFromTabMenu(2, ID_CLOSE_LEFT);
    EXPECT_TRUE(MenuLine(ID_CLOSE_RIGHT)->grayed);
    EXPECT_EQ(std::vector<std::wstring>{L"3"}, Titles());

    AddFakes(3);
    ChooseFromTabMenu(2, ID_CLOSE_ALL_BUT_THIS);
    EXPECT_EQ(std::vector<std::wstring>{L"1"}, Titles());

    // Without a tab menu the neighbours' commands do nothing, "Close Tab" closes the active page.
    AddFakes(3);
    m_tabView.SetActivePage(1);
    for (const UINT command : {ID_CLOSE_ALL_BUT_THIS, ID_CLOSE_LEFT, ID_CLOSE_RIGHT})
        m_tabView.SendMessage(WM_COMMAND, command);
    EXPECT_EQ(4, m_tabView.GetPageCount());
    m_tabView.SendMessage(WM_COMMAND, ID_CLOSE_TAB);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"1", L"2"}), Titles());

    // A double click closes the tab under it; "Close All" the rest, every view deleted.
    RECT item{};
    TabCtrl_GetItemRect(m_tabView.GetTabStrip(), 2, &item);
    ::SendMessageW(m_tabView.GetTabStrip(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(item.left + 2, item.top + 2));
    EXPECT_EQ(2, m_tabView.GetPageCount());
    m_tabView.SendMessage(WM_COMMAND, ID_CLOSE_ALL);
    EXPECT_EQ(0, m_tabView.GetPageCount());
    EXPECT_EQ(12u, m_deleted.size());
}

TEST_F(ReaderTabViewTest, ViewWindowsListsTenPagesAndActivatesTheChosenOne)
{
    const HWND toolBar = ::FindWindowExW(m_tabView, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_TRUE(toolBar);
    EXPECT_GE(::SendMessageW(toolBar, TB_COMMANDTOINDEX, ID_VIEW_WINDOWS, 0), 0);
    const auto click = [&] {
        ::SendMessageW(m_tabView, WM_COMMAND, ID_VIEW_WINDOWS, reinterpret_cast<LPARAM>(toolBar));
    };

    m_tabView.choice = CReaderTabView::kWindowsDialog;
    click();
    ASSERT_EQ(3u, m_tabView.lastMenu.size());
    EXPECT_EQ(L"(Empty)", m_tabView.lastMenu[0].text);
    EXPECT_TRUE(m_tabView.lastMenu[0].grayed);
    EXPECT_EQ(L"&Windows...", m_tabView.lastMenu[2].text);
    EXPECT_EQ(1, m_tabView.dialogs);

    // A title is data: each of its ampersands shows, none marks a mnemonic.
    AddFake(L"Salt & Pepper && Co");
    m_tabView.choice = 0;
    click();
    ASSERT_EQ(3u, m_tabView.lastMenu.size());
    EXPECT_EQ(L"Salt && Pepper &&&& Co", m_tabView.lastMenu[0].text);
    m_tabView.SendMessage(WM_COMMAND, ID_CLOSE_ALL);
    m_deleted.clear();

    AddFakes(12);
    m_tabView.SetActivePage(3);
    m_tabView.choice = CReaderTabView::kWindowListFirst + 7;
    click();
    ASSERT_EQ(12u, m_tabView.lastMenu.size());
    for (int index = 0; index < 10; ++index) {
        EXPECT_EQ(CReaderTabView::kWindowListFirst + index, m_tabView.lastMenu[index].id);
        EXPECT_EQ(std::to_wstring(index), m_tabView.lastMenu[index].text);
        EXPECT_EQ(index == 3, m_tabView.lastMenu[index].checked);
    }
    EXPECT_EQ(7, m_tabView.GetActivePage());

    // The Windows dialog closes pages as the tab view does: their views go too.
    CReaderWindowsDlgPages pages(m_tabView);
    CWindowsDlg dialog(pages);
    ASSERT_TRUE(dialog.Create(m_tabView));
    const HWND list = dialog.GetDlgItem(IDC_WINDOWS_LIST);
    ::SendMessageW(list, LB_SETSEL, FALSE, -1);
    ::SendMessageW(list, LB_SETSEL, TRUE, 0);
    ::SendMessageW(list, LB_SETSEL, TRUE, 11);
    dialog.SendMessage(WM_COMMAND, IDC_WINDOWS_CLOSE, reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_WINDOWS_CLOSE)));
    EXPECT_EQ(10, m_tabView.GetPageCount());
    EXPECT_EQ((std::vector<std::wstring>{L"11", L"0"}), m_deleted);
    dialog.DestroyWindow();
}

TEST_F(ReaderTabViewTest, CtrlTabWrapsAroundAndOtherMessagesGoToTheActivePage)
{
    BYTE saved[256]{};
    ::GetKeyboardState(saved);
    BYTE keys[256]{};
    const auto press = [&](BOOL shift) {
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG message{m_tabView, WM_KEYDOWN, VK_TAB, 0, 0, {}};
        return m_tabView.PreTranslateMessage(&message);
    };

    CFakeView* only = AddFake(L"0");
    EXPECT_TRUE(press(FALSE));  // swallowed with one page
    EXPECT_EQ(0, m_tabView.GetActivePage());
    AddFakes(2);
    EXPECT_EQ(2, m_tabView.GetActivePage());
    EXPECT_TRUE(press(FALSE));
    EXPECT_EQ(0, m_tabView.GetActivePage());
    EXPECT_TRUE(press(TRUE));
    EXPECT_EQ(2, m_tabView.GetActivePage());

    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    m_tabView.SetActivePage(0);
    MSG key{m_tabView, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(m_tabView.PreTranslateMessage(&key));
    only->forwardAnswer = 1;
    EXPECT_TRUE(m_tabView.PreTranslateMessage(&key));
    EXPECT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN}), only->forwarded);
    ::SetKeyboardState(saved);
}

TEST_F(ReaderTabViewTest, TopLevelNavigationsAwayFromTheDocumentAndNewWindowsOpenHtmlTabs)
{
    ASSERT_EQ(0, m_tabView.OpenDocument(Document(L"doc-a", L"A"), FALSE));
    auto* view = dynamic_cast<CReaderDocumentView*>(m_tabView.GetPageView(0));
    ASSERT_TRUE(view);
    CReaderDocumentBrowserView& browser = view->GetBrowserView();
    ASSERT_TRUE(browser.GetWebBrowser());
    const std::wstring own = CReaderDocumentBrowserView::GetDocumentUrl(view->GetDocument());
    EXPECT_EQ(L"oskan://5B1D6F0E-7A2C-4C11-9E0F-3D2B1A0C9E8D_doc-a", own);

    const auto navigate = [&](IDispatch* frame, const std::wstring& url) {
        CBeforeNavigate2Arguments navigation(frame, url.c_str());
        CEventSlots::Fire(browser, DISPID_BEFORENAVIGATE2, navigation.params);
        return navigation.cancel == VARIANT_TRUE;
    };

    // A frame of the page navigates in place, anywhere.
    ComPtr<IWebBrowser2> innerFrame;
    ASSERT_EQ(1, m_tabView.OpenUrl(L"about:blank"));
    innerFrame = m_tabView.GetPageView(1)->GetBrowser()->GetWebBrowser();
    m_tabView.SetActivePage(0);
    EXPECT_FALSE(navigate(innerFrame.Get(), L"about:blank"));
    // The document's own page, with or without its slash and fragment, and the browser's resources.
    IWebBrowser2* top = browser.GetWebBrowser();
    for (const std::wstring& url : {own, own + L"/", own + L"/#part", std::wstring(L"RES://ieframe.dll/x.htm")})
        EXPECT_FALSE(navigate(top, url)) << url;
    EXPECT_EQ(2, m_tabView.GetPageCount());

    // Another entry of the same archive, and any other address, open in a new active HTML tab.
    EXPECT_TRUE(navigate(top, own + L"/other.htm"));
    EXPECT_EQ(3, m_tabView.GetPageCount());
    EXPECT_EQ(2, m_tabView.GetActivePage());
    EXPECT_EQ(kReaderHtmlView, m_tabView.GetActiveView()->GetViewType());
    EXPECT_TRUE(navigate(top, L"about:blank"));
    EXPECT_EQ(4, m_tabView.GetPageCount());

    // NewWindow2: the new tab's browser is the new window, and the event is not cancelled.
    CNewWindow2Arguments newWindow;
    CEventSlots::Fire(browser, DISPID_NEWWINDOW2, newWindow.params);
    ASSERT_EQ(5, m_tabView.GetPageCount());
    EXPECT_EQ(static_cast<IDispatch*>(m_tabView.GetPageView(4)->GetBrowser()->GetWebBrowser()), newWindow.window);
    EXPECT_EQ(VARIANT_FALSE, newWindow.cancel);

    // An HTML page's title becomes its tab's.
    CVariant title(L"Example page");
    VARIANT titleArgument[1]{};
    titleArgument[0] = title.Get();
    DISPPARAMS titleParams{titleArgument, nullptr, 1, 0};
    CEventSlots::Fire(*m_tabView.GetPageView(4)->GetBrowser(), DISPID_TITLECHANGE, titleParams);
    EXPECT_EQ(L"Example page", m_tabView.GetPageTitle(4));
}

}  // namespace
