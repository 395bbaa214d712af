#include <gtest/gtest.h>

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmcid.h>
#include <mshtmhst.h>

#include <string>
#include <vector>

#include "BrowserEventArguments.h"
#include "DocumentStore.h"
#include "FakeDocument.h"
#include "app/frame/OskanToolBar.h"
#include "app/views/AtlBrowser.h"
#include "app/views/ReaderDocumentBrowserView.h"
#include "app/views/ReaderHtmlView.h"
#include "common/MessagePump.h"
#include "app/views/OskanProtocol.h"
#include "framework/ActiveXIds.h"
#include "framework/ByteArray.h"
#include "framework/ComInitialize.h"

using Microsoft::WRL::ComPtr;

namespace {

class CParent : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};

// The site a browser's control was given.
template <class Interface>
ComPtr<Interface> SiteOf(const CAtlWebBrowser& browser)
{
    ComPtr<IOleObject> object;
    ComPtr<IOleClientSite> site;
    ComPtr<Interface> wanted;
    if (browser.GetWebBrowser() && SUCCEEDED(browser.GetWebBrowser()->QueryInterface(IID_PPV_ARGS(&object))) &&
        SUCCEEDED(object->GetClientSite(&site)))
        site.As(&wanted);
    return wanted;
}

class CTestBrowser : public CAtlBrowser {
public:
    struct CNavigation {
        std::wstring url;
        std::vector<BYTE> postData;
        std::wstring headers;
    };
    std::vector<CNavigation> navigations;
    int errors = 0;
    BOOL cancel = FALSE;
    ComPtr<IDispatch> fakeDocument;  // stands in for the page's document when set
    ComPtr<IDispatch> newWindow;

    void Fire(DISPID id, DISPPARAMS& params) { OnDispatchEvent(id, params); }

    ComPtr<IDispatch> GetDocument() const override
    {
        return fakeDocument ? fakeDocument : CAtlBrowser::GetDocument();
    }

protected:
    BOOL OnBeforeNavigate2(IDispatch*, const std::wstring& url, DWORD, const std::wstring&,
                           const std::vector<BYTE>& postData, const std::wstring& headers) override
    {
        navigations.push_back({url, postData, headers});
        return cancel;
    }
    BOOL OnNavigateError(IDispatch*, const std::wstring&, const std::wstring&, LONG) override
    {
        ++errors;
        return FALSE;
    }
    BOOL OnNewWindow2(ComPtr<IDispatch>& window) override
    {
        window = newWindow;
        return cancel;
    }
};

class BrowserHostTest : public ::testing::Test {
protected:
    BrowserHostTest() { m_parent.Create(nullptr, RECT{0, 0, 400, 300}); }
    ~BrowserHostTest() override { m_parent.DestroyWindow(); }

    CComInitialize m_com;
    CParent m_parent;
};

TEST_F(BrowserHostTest, TheControlReadsItsUsersHostFlagsAndTheHostsCommandAnswers)
{
    CReaderDocumentBrowserView documentPage(nullptr);
    CReaderHtmlView htmlView(nullptr);
    COskanADBrowser adStrip;
    ASSERT_TRUE(documentPage.Create(m_parent));
    ASSERT_TRUE(htmlView.Create(m_parent));
    ASSERT_TRUE(adStrip.Create(m_parent));
    const struct {
        CAtlWebBrowser& browser;
        DWORD flags;
        HRESULT menu;  // S_OK: the host has handled the menu, so the page shows none
    } cases[] = {{documentPage, 0x40035, S_OK}, {htmlView, 0x40014, S_FALSE}, {adStrip, 0x4003D, S_OK}};
    for (const auto& item : cases) {
        const ComPtr<IDocHostUIHandler> handler = SiteOf<IDocHostUIHandler>(item.browser);
        ASSERT_TRUE(handler);
        DOCHOSTUIINFO info{};
        info.cbSize = sizeof info;
        ASSERT_EQ(S_OK, handler->GetHostInfo(&info));
        EXPECT_EQ(item.flags, info.dwFlags);
        POINT point{};
        EXPECT_EQ(item.menu, handler->ShowContextMenu(0, &point, nullptr, nullptr));
    }

    const ComPtr<IOleCommandTarget> host = SiteOf<IOleCommandTarget>(documentPage);
    ASSERT_TRUE(host);
    VARIANT out{};
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, host->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, host->Exec(&CGID_MSHTML, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, host->Exec(&CGID_DocHostCommandHandler, OLECMDID_PRINT, 0, nullptr, &out));
    // The page's scripts go on after an error, and no dialog shows it.
    EXPECT_EQ(S_OK, host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(VT_BOOL, out.vt);
    EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    EXPECT_EQ(S_OK, host->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
}

TEST_F(BrowserHostTest, NavigationsReachTheSlotsAndTheSchemeHandler)
{
    CDocumentStore store;
    const std::wstring key = store.Add(L"0c1d2e3f-4a5b-4c6d-8e7f-8091a2b3c4d5", {{L"index.htm", "<html></html>"}});
    CFakeMainWindow mainWindow(store.Database());
    COskanProtocolRegistration registration;
    ASSERT_TRUE(RegisterOskanProtocol(mainWindow, registration));

    // Navigate in Create; Wine raises BeforeNavigate2 inside the call, and a cancelled
    // navigation goes no further.
    CTestBrowser browser;
    browser.cancel = TRUE;
    ASSERT_TRUE(browser.Create(m_parent, L"about:blank"));
    ASSERT_EQ(1u, browser.navigations.size());
    EXPECT_EQ(L"about:blank", browser.navigations[0].url);
    EXPECT_EQ(S_OK, browser.Navigate(L"about:blank", 0, nullptr, "a=1&b=2", 7, L"X-Test: 1\r\n"));
    ASSERT_EQ(2u, browser.navigations.size());
    // Wine fills post data with the wrong bytes; their count is right.
    EXPECT_EQ(7u, browser.navigations[1].postData.size());
    EXPECT_EQ(L"X-Test: 1\r\n", browser.navigations[1].headers);

    // Under Wine the page is bound (our handler runs), then an error comes: no HTML engine here.
    browser.cancel = FALSE;
    const std::wstring url = L"oskan://" + key;
    EXPECT_EQ(S_OK, browser.Navigate(url.c_str()));
    ASSERT_TRUE(PumpMessagesUntil([&] { return browser.errors > 0; }));
    EXPECT_EQ(url, browser.navigations.back().url);
    EXPECT_EQ(std::vector<std::wstring>{key}, mainWindow.asked);
    EXPECT_TRUE(browser.DestroyWindow());
    EXPECT_EQ(E_FAIL, browser.Navigate(url.c_str()));
}

TEST_F(BrowserHostTest, EventArgumentsAndAnswersTravelThroughTheSlots)
{
    CTestBrowser browser;
    ASSERT_TRUE(browser.Create(m_parent));

    CBeforeNavigate2Arguments navigation(nullptr, L"oskan://s_d/page.htm", "a=1&b=2");
    browser.cancel = TRUE;
    browser.Fire(DISPID_BEFORENAVIGATE2, navigation.params);
    ASSERT_EQ(1u, browser.navigations.size());
    EXPECT_EQ(L"oskan://s_d/page.htm", browser.navigations[0].url);
    EXPECT_EQ("a=1&b=2", std::string(browser.navigations[0].postData.begin(), browser.navigations[0].postData.end()));
    EXPECT_EQ(VARIANT_TRUE, navigation.cancel);
    browser.cancel = FALSE;
    browser.Fire(DISPID_BEFORENAVIGATE2, navigation.params);
    EXPECT_EQ(VARIANT_FALSE, navigation.cancel);

    // NewWindow2: the new window's dispatch, cancel.
    browser.newWindow = CFakeDocument::Create();
    CNewWindow2Arguments newWindow;
    browser.Fire(DISPID_NEWWINDOW2, newWindow.params);
    EXPECT_EQ(browser.newWindow.Get(), newWindow.window);
    EXPECT_EQ(VARIANT_FALSE, newWindow.cancel);

    // CommandStateChange: command, enabled.
    VARIANT state[2]{};
    state[1].vt = VT_I4;
    state[1].lVal = CSC_NAVIGATEBACK;
    state[0].vt = VT_BOOL;
    state[0].boolVal = VARIANT_TRUE;
    DISPPARAMS stateParams{state, nullptr, 2, 0};
    browser.Fire(DISPID_COMMANDSTATECHANGE, stateParams);
    EXPECT_TRUE(browser.CanGoBack());
    EXPECT_FALSE(browser.CanGoForward());
}

TEST_F(BrowserHostTest, PrintAndZoomGoToTheDocumentsCommandTarget)
{
    CTestBrowser browser;
    ASSERT_TRUE(browser.Create(m_parent));
    // No document under Wine: every command fails and the zoom reads 100.
    EXPECT_EQ(E_FAIL, browser.ExecMshtmlCommandIfEnabled(IDM_PRINT, OLECMDF_SUPPORTED | OLECMDF_ENABLED, 0));
    EXPECT_EQ(E_FAIL, browser.SetZoom(150));
    EXPECT_EQ(100, browser.GetZoom());

    const ComPtr<CFakeDocument> document = CFakeDocument::Create();
    browser.fakeDocument = document;
    document->status = OLECMDF_SUPPORTED;
    EXPECT_EQ(E_FAIL, browser.ExecMshtmlCommandIfEnabled(IDM_PRINT, OLECMDF_SUPPORTED | OLECMDF_ENABLED, 0));
    EXPECT_TRUE(document->calls.empty());
    document->status = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    EXPECT_EQ(S_OK, browser.ExecMshtmlCommandIfEnabled(IDM_PRINTPREVIEW, OLECMDF_SUPPORTED | OLECMDF_ENABLED, 0));
    ASSERT_EQ(1u, document->calls.size());
    EXPECT_TRUE(document->calls[0].mshtml);
    EXPECT_EQ(static_cast<DWORD>(IDM_PRINTPREVIEW), document->calls[0].id);

    EXPECT_EQ(S_OK, browser.SetZoom(150));
    ASSERT_EQ(2u, document->calls.size());
    EXPECT_FALSE(document->calls[1].mshtml);
    EXPECT_EQ(static_cast<DWORD>(OLECMDID_OPTICAL_ZOOM), document->calls[1].id);
    EXPECT_EQ(static_cast<DWORD>(OLECMDEXECOPT_DONTPROMPTUSER), document->calls[1].option);
    EXPECT_EQ(150, document->calls[1].in);
    document->zoom = 175;
    EXPECT_EQ(175, browser.GetZoom());
    document->zoom = 0;
    EXPECT_EQ(100, browser.GetZoom());
    document->zoom = 175;
    document->result = OLECMDERR_E_NOTSUPPORTED;
    EXPECT_EQ(100, browser.GetZoom());
}

}  // namespace
