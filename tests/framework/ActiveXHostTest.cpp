#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>

#include <string>
#include <vector>

#include "common/MessagePump.h"
#include "framework/ActiveXHost.h"
#include "framework/Bstr.h"
#include "framework/ByteArray.h"
#include "framework/ComInitialize.h"
#include "framework/DispatchEventSink.h"
#include "framework/Variant.h"

using Microsoft::WRL::ComPtr;

// What a derived host adds to its site.
struct ITestSiteExtra : public IUnknown {
    virtual int STDMETHODCALLTYPE Extra() = 0;
};
__CRT_UUID_DECL(ITestSiteExtra, 0x6c1d2a40, 0x5e7b, 0x4f0c, 0x8d, 0x31, 0x2b, 0x90, 0x1e, 0x44, 0x57, 0x01)

namespace {

class CCountingSite : public CActiveXSiteObject<CCountingSite, ITestSiteExtra> {
public:
    explicit CCountingSite(bool* destroyed) : m_destroyed(destroyed) {}
    ~CCountingSite() override { *m_destroyed = true; }
    int STDMETHODCALLTYPE Extra() override { return 5; }

private:
    bool* m_destroyed;
};

struct CEvent {
    DISPID id = 0;
    std::wstring url;
    VARTYPE postType = VT_EMPTY;
    size_t postLength = 0;
};

class CTestBrowser : public CActiveXHostWindow, public CDispatchEventSink {
public:
    bool siteDestroyed = false;
    bool cancel = false;
    std::vector<CEvent> events;

    size_t Count(DISPID id) const
    {
        size_t count = 0;
        for (const CEvent& event : events)
            count += event.id == id;
        return count;
    }

protected:
    ComPtr<CActiveXSite> CreateSite() override { return CCountingSite::Create(&siteDestroyed); }

    // BeforeNavigate2: frame, URL, flags, target, post data, headers, cancel.
    // NavigateError: frame, URL, target, status, cancel.
    void OnDispatchEvent(DISPID id, DISPPARAMS& params) override
    {
        if (id != DISPID_BEFORENAVIGATE2 && id != DISPID_NAVIGATEERROR)
            return;
        CEvent event;
        event.id = id;
        EventString(params, 1, event.url);
        if (id == DISPID_BEFORENAVIGATE2) {
            const VARIANT* post = EventArgument(params, 4);
            event.postType = post ? post->vt : static_cast<VARTYPE>(VT_ERROR);
            std::vector<BYTE> bytes;
            if (EventBytes(params, 4, bytes))
                event.postLength = bytes.size();
            if (cancel) {
                EXPECT_TRUE(SetEventBool(params, 6, TRUE));
            }
        }
        events.push_back(event);
    }
};

class CParent : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};

HRESULT Navigate(IWebBrowser2* browser, const wchar_t* url, const char* post)
{
    CBstr target(url);
    CVariant none;
    CVariant postData;
    if (post && FAILED(MakeByteArray(post, static_cast<ULONG>(strlen(post)), postData)))
        return E_OUTOFMEMORY;
    VARIANT urlValue{};
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = target.Get();
    return browser->Navigate2(&urlValue, const_cast<VARIANT*>(&none.Get()), const_cast<VARIANT*>(&none.Get()),
                              const_cast<VARIANT*>(&postData.Get()), const_cast<VARIANT*>(&none.Get()));
}

RECT ChildRect(HWND window)
{
    RECT rect{};
    ::GetClientRect(::GetWindow(window, GW_CHILD), &rect);
    return rect;
}

TEST(ActiveXHost, WebBrowserByProgIdReportsNavigationsAndLetsGoOfItsSite)
{
    CComInitialize com;
    CParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 400, 300}));
    CTestBrowser browser;
    ASSERT_TRUE(browser.Create(parent, RECT{0, 0, 200, 100}, L"Shell.Explorer.2"));

    ComPtr<IWebBrowser2> web;
    ASSERT_EQ(S_OK, browser.QueryControl(IID_PPV_ARGS(&web)));
    ASSERT_EQ(S_OK, browser.Advise(web.Get(), DIID_DWebBrowserEvents2));

    // The control was given the derived host's site, with what it adds.
    ComPtr<IOleObject> object;
    ComPtr<IOleClientSite> site;
    ComPtr<ITestSiteExtra> extra;
    ASSERT_EQ(S_OK, web.As(&object));
    ASSERT_EQ(S_OK, object->GetClientSite(&site));
    ASSERT_EQ(S_OK, site.As(&extra));
    EXPECT_EQ(5, extra->Extra());
    object.Reset();
    site.Reset();
    extra.Reset();

    ASSERT_TRUE(::MoveWindow(browser, 0, 0, 300, 150, TRUE));
    const RECT fitted = ChildRect(browser);
    EXPECT_EQ(300, fitted.right);
    EXPECT_EQ(150, fitted.bottom);

    // Wine raises BeforeNavigate2 inside the call; a cancelled navigation reports no error.
    browser.cancel = true;
    EXPECT_EQ(S_OK, Navigate(web.Get(), L"about:blank", "a=1&b=2"));
    ASSERT_EQ(1u, browser.events.size());
    EXPECT_EQ(DISPID_BEFORENAVIGATE2, browser.events[0].id);
    EXPECT_EQ(L"about:blank", browser.events[0].url);
    // Wine fills the array with the wrong bytes, so only its type and length are checked.
    EXPECT_EQ(VT_ARRAY | VT_UI1, browser.events[0].postType);
    EXPECT_EQ(7u, browser.events[0].postLength);

    browser.cancel = false;
    EXPECT_EQ(S_OK, Navigate(web.Get(), L"about:blank", nullptr));
    ASSERT_TRUE(PumpMessagesUntil([&] { return browser.Count(DISPID_NAVIGATEERROR) > 0; }));
    ASSERT_EQ(3u, browser.events.size());
    EXPECT_EQ(DISPID_BEFORENAVIGATE2, browser.events[1].id);
    EXPECT_EQ(0u, browser.events[1].postLength);
    EXPECT_EQ(DISPID_NAVIGATEERROR, browser.events[2].id);
    EXPECT_EQ(L"about:blank", browser.events[2].url);

    browser.Unadvise();
    web.Reset();
    ASSERT_TRUE(browser.DestroyWindow());
    EXPECT_TRUE(browser.siteDestroyed);
}

TEST(ActiveXHost, AControlThatCannotBeMadeRefusesTheWindowAndKeepsNoSite)
{
    CComInitialize com;
    CParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 400, 300}));
    CTestBrowser browser;
    EXPECT_EQ(nullptr, browser.Create(parent, RECT{0, 0, 200, 100}, L"Tessary.NoSuchControl"));
    EXPECT_TRUE(browser.siteDestroyed);

    // Plain windows of the registered class: the same refusal; no name gives an empty host.
    ASSERT_TRUE(RegisterActiveXHostClass());
    const auto plainHost = [&](const wchar_t* progId) {
        return ::CreateWindowExW(0, kActiveXHostClass, progId, WS_CHILD, 0, 0, 200, 100, parent, nullptr,
                                 nullptr, nullptr);
    };
    EXPECT_EQ(nullptr, plainHost(L"Tessary.NoSuchControl"));
    const HWND empty = plainHost(L"");
    ASSERT_TRUE(empty);
    ComPtr<IUnknown> control;
    EXPECT_EQ(E_FAIL, QueryHostedControl(empty, IID_PPV_ARGS(&control)));
    EXPECT_EQ(E_INVALIDARG, QueryHostedControl(parent, IID_PPV_ARGS(&control)));
    const HWND hosting = plainHost(L"Shell.Explorer.2");
    ASSERT_TRUE(hosting);
    ComPtr<IWebBrowser2> web;
    EXPECT_EQ(S_OK, QueryHostedControl(hosting, IID_PPV_ARGS(&web)));
    EXPECT_TRUE(::DestroyWindow(parent));
}

// The control fills post data with the wrong bytes under Wine, so the bytes are checked here.
TEST(ActiveXHost, EventHelpersReadAndWriteThroughNestedReferences)
{
    CVariant post;
    ASSERT_EQ(S_OK, MakeByteArray("post", 4, post));
    VARIANT inner{};
    inner.vt = VT_BYREF | VT_VARIANT;
    inner.pvarVal = const_cast<VARIANT*>(&post.Get());
    ComPtr<CPlainActiveXSite> window = CPlainActiveXSite::Create();
    IDispatch* newWindow = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;

    // Declared order: post data, new window, cancel; DISPPARAMS hold them last first.
    VARIANT arguments[3]{};
    arguments[2].vt = VT_BYREF | VT_VARIANT;
    arguments[2].pvarVal = &inner;
    arguments[1].vt = VT_BYREF | VT_DISPATCH;
    arguments[1].ppdispVal = &newWindow;
    arguments[0].vt = VT_BYREF | VT_BOOL;
    arguments[0].pboolVal = &cancel;
    DISPPARAMS params{arguments, nullptr, 3, 0};

    std::vector<BYTE> bytes;
    ASSERT_TRUE(EventBytes(params, 0, bytes));
    EXPECT_EQ("post", std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(SetEventBool(params, 1, TRUE));
    EXPECT_TRUE(SetEventBool(params, 2, TRUE));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    ASSERT_TRUE(SetEventDispatch(params, 1, window.Get()));
    EXPECT_EQ(static_cast<IDispatch*>(window.Get()), newWindow);
    // The argument holds a reference of its own, which the event's caller releases.
    EXPECT_EQ(3u, window->AddRef());
    window->Release();
    newWindow->Release();
}

}  // namespace
