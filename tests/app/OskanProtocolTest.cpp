#include <gtest/gtest.h>

#include <windows.h>
#include <urlmon.h>

#include <string>
#include <utility>
#include <vector>

#include "DocumentStore.h"
#include "UrlMonReader.h"
#include "app/views/HtmlToUtf8.h"
#include "app/views/OskanProtocol.h"
#include "app/views/OskanUrl.h"
#include "common/TestLog.h"
#include "foundation/Registry.h"
#include "framework/ComInitialize.h"

using Microsoft::WRL::ComPtr;

namespace {

std::string Utf16Le(const std::wstring& text)
{
    return std::string("\xFF\xFE", 2) + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// Every sink call, one line each.
class CRecordingSink final : public CComObjectBase<CRecordingSink, IInternetProtocolSink> {
public:
    std::vector<std::wstring> calls;
    HRESULT lastDataResult = S_OK;

    STDMETHODIMP Switch(PROTOCOLDATA*) override { return S_OK; }
    STDMETHODIMP ReportProgress(ULONG status, LPCWSTR text) override
    {
        calls.push_back(L"progress " + std::to_wstring(status) + L" " + (text ? text : L"(null)"));
        return S_OK;
    }
    STDMETHODIMP ReportData(DWORD flags, ULONG progress, ULONG maximum) override
    {
        calls.push_back(L"data " + std::to_wstring(flags) + L" " + std::to_wstring(progress) + L" " +
                        std::to_wstring(maximum));
        return flags & BSCF_LASTDATANOTIFICATION ? lastDataResult : S_OK;
    }
    STDMETHODIMP ReportResult(HRESULT result, DWORD, LPCWSTR) override
    {
        calls.push_back(L"result " + std::to_wstring(result));
        return S_OK;
    }
};

// A binding's sink that ends the binding from inside its n-th report, as urlmon may: Terminate,
// then its own reference to the request object let go. It counts as gone once nothing holds
// it, but is never freed, so a call that comes after that is counted instead.
class CTerminatingSink final : public IInternetProtocolSink {
public:
    CTerminatingSink(ComPtr<IInternetProtocol> binding, size_t terminateAt)
        : m_binding(std::move(binding)), m_terminateAt(terminateAt)
    {
    }

    size_t calls = 0;
    size_t callsAfterRelease = 0;
    LONG refs = 0;
    // The references to the request object left when the binding's went.
    ULONG protocolRefsLeft = ~0u;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown && iid != IID_IInternetProtocolSink)
            return SetOut(out, nullptr, E_NOINTERFACE);
        AddRef();
        return SetOut(out, static_cast<IInternetProtocolSink*>(this), S_OK);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP Switch(PROTOCOLDATA*) override { return Called(); }
    STDMETHODIMP ReportProgress(ULONG, LPCWSTR) override { return Called(); }
    STDMETHODIMP ReportData(DWORD, ULONG, ULONG) override { return Called(); }
    STDMETHODIMP ReportResult(HRESULT, DWORD, LPCWSTR) override { return Called(); }

private:
    HRESULT Called()
    {
        if (refs <= 0)
            ++callsAfterRelease;
        if (++calls == m_terminateAt) {
            m_binding->Terminate(0);
            protocolRefsLeft = m_binding.Detach()->Release();
        }
        return S_OK;
    }

    ComPtr<IInternetProtocol> m_binding;
    size_t m_terminateAt;
};

const std::wstring kPage = L"<html><HEAD><title>t</title><META http-equiv=\"Content-Type\" "
                           L"content=\"text/html; charset=gb2312\"></head><body>Gr\u00f6\u00dfe</body></html>";
const std::string kPageServed = "\xEF\xBB\xBF<html><HEAD>" + std::string(kUtf8CharsetMeta) +
                                "<title>t</title></head><body>Gr\xC3\xB6\xC3\x9F" "e</body></html>" + std::string(1, '\0');
const std::string kUtf8Page = "<html><meta charset=\"x\">\xC3\xBC</html>";

class OskanProtocolTest : public ::testing::Test {
protected:
    OskanProtocolTest()
    {
        // This Wine prefix knows no file types: the two the tests read are set as Windows has them.
        QelRegWriteString(HKEY_CLASSES_ROOT, L".htm", L"Content Type", L"text/html");
        QelRegWriteString(HKEY_CLASSES_ROOT, L".png", L"Content Type", L"image/png");
        // Only a page whose name says so can be the index: this one is served as index.htm.
        m_key = m_store.Add(L"9d3c2b1a-0f4e-4d5c-8b7a-6e5f4d3c2b1a",
                            {{L"QelArticle_1.txt", Utf16Le(kPage)},
                             {L"img/a.png", "PNGDATA"},
                             {L"a%20b.png", "escaped"},
                             {L"my pic.png", "spaced"},
                             {L"x.htm", kUtf8Page},
                             {L"style.css", Utf16Le(L"body{}")},
                             {L"notes.TXT", Utf16Le(L"plain")},
                             {L"odd.htm", "\xFF\xFE" "A"},
                             {L"empty.htm", ""}});
    }

    // Start with a recording sink, then every byte through Read.
    HRESULT Fetch(const std::wstring& url, std::string& bytes, std::vector<std::wstring>* calls = nullptr,
                  HWND window = nullptr)
    {
        const ComPtr<COskanProtocol> protocol = COskanProtocol::Create(window ? window : m_window.m_hWnd);
        const ComPtr<CRecordingSink> sink = CRecordingSink::Create();
        const HRESULT started = protocol->Start(url.c_str(), sink.Get(), nullptr, 0, 0);
        bytes.clear();
        char buffer[5];
        ULONG read = 0;
        for (HRESULT more = S_OK; SUCCEEDED(started) && more == S_OK;) {
            more = protocol->Read(buffer, sizeof buffer, &read);
            bytes.append(buffer, read);
        }
        // A failed start ends the binding without Terminate: the sink is let go at once.
        if (FAILED(started)) {
            sink->AddRef();
            EXPECT_EQ(1u, sink->Release()) << url;
        }
        if (calls)
            *calls = sink->calls;
        return started;
    }

    std::string Served(const std::wstring& url)
    {
        std::string bytes;
        EXPECT_EQ(S_OK, Fetch(url, bytes)) << url;
        return bytes;
    }

    CComInitialize m_com;
    CDocumentStore m_store;
    CFakeMainWindow m_window{m_store.Database()};
    std::wstring m_key;
};

TEST_F(OskanProtocolTest, UrlFormsReachTheirEntries)
{
    const std::wstring url = L"oskan://" + m_key;
    EXPECT_EQ(kPageServed, Served(L"OSKAN://" + m_key));
    EXPECT_EQ(kPageServed, Served(L"oskan:///" + m_key + L"/"));
    EXPECT_EQ("PNGDATA", Served(url + L"/img/a.png"));
    EXPECT_EQ("PNGDATA", Served(url + L"/IMG/A.PNG"));
    // As written first; only a missing entry is looked up cut and decoded.
    EXPECT_EQ("escaped", Served(url + L"/a%20b.png"));
    EXPECT_EQ("spaced", Served(url + L"/my%20pic.png"));
    // The key ends at a query or a fragment too; an entry's name at either.
    EXPECT_EQ(kUtf8Page, Served(url + L"/x.htm#s"));
    EXPECT_EQ(kPageServed, Served(url + L"#s"));
    EXPECT_EQ(kPageServed, Served(url + L"?q"));
    EXPECT_EQ(std::vector<std::wstring>(9, m_key), m_window.asked);
}

TEST_F(OskanProtocolTest, ReportsComeInOrderWithTheTypeAndTheEncoding)
{
    const std::wstring page = L"oskan://" + m_key;
    std::string bytes;
    std::vector<std::wstring> calls;
    ASSERT_EQ(S_OK, Fetch(page, bytes, &calls));
    const std::wstring size = std::to_wstring(kPageServed.size());
    EXPECT_EQ((std::vector<std::wstring>{L"progress 1 " + page, L"progress 2 " + page, L"progress 11 " + page,
                                         L"progress 13 text/html", L"progress 21 utf-8", L"data 1 0 " + size,
                                         L"data 12 " + size + L" " + size, L"result 0"}),
              calls);

    // The type follows the entry's name.
    ASSERT_EQ(S_OK, Fetch(page + L"/img/a.png", bytes, &calls));
    ASSERT_LT(3u, calls.size());
    EXPECT_EQ(L"progress 13 image/png", calls[3]);

    // A failing last data report is what Start returns; nothing follows it.
    const ComPtr<COskanProtocol> protocol = COskanProtocol::Create(m_window.m_hWnd);
    const ComPtr<CRecordingSink> sink = CRecordingSink::Create();
    sink->lastDataResult = E_ABORT;
    EXPECT_EQ(E_ABORT, protocol->Start((page + L"/img/a.png").c_str(), sink.Get(), nullptr, 0, 0));
    EXPECT_EQ(L"data 12 7 7", sink->calls.back());

    // The binding ends inside the first progress report or the last data report, and the
    // request object and the sink each lose their last other reference there.
    for (const size_t terminateAt : {1u, 6u}) {
        ComPtr<COskanProtocol> request = COskanProtocol::Create(m_window.m_hWnd);
        COskanProtocol* const started = request.Get();
        CTerminatingSink ending(std::move(request), terminateAt);
        EXPECT_EQ(S_OK, started->Start((page + L"/img/a.png").c_str(), &ending, nullptr, 0, 0)) << terminateAt;
        EXPECT_EQ(7u, ending.calls) << terminateAt;
        EXPECT_NE(0u, ending.protocolRefsLeft) << terminateAt;
        EXPECT_EQ(0u, ending.callsAfterRelease) << terminateAt;
        EXPECT_EQ(0, ending.refs) << terminateAt;
    }
}

TEST_F(OskanProtocolTest, OnlyUtf16TextEntriesAreConvertedToUtf8)
{
    const std::wstring url = L"oskan://" + m_key;
    // Only a page gets the charset element; a style sheet or a text would show it.
    EXPECT_EQ("\xEF\xBB\xBF" "body{}" + std::string(1, '\0'), Served(url + L"/style.css"));
    EXPECT_EQ("\xEF\xBB\xBF" "plain" + std::string(1, '\0'), Served(url + L"/notes.TXT"));
    std::string bytes;
    std::vector<std::wstring> calls;
    const std::pair<const wchar_t*, std::string> unchanged[] = {
        {L"/x.htm", kUtf8Page}, {L"/odd.htm", "\xFF\xFE" "A"}, {L"/empty.htm", ""}};
    for (const auto& entry : unchanged) {
        ASSERT_EQ(S_OK, Fetch(url + entry.first, bytes, &calls)) << entry.first;
        EXPECT_EQ(entry.second, bytes) << entry.first;
        for (const std::wstring& call : calls)
            EXPECT_NE(0u, call.rfind(L"progress 21", 0)) << entry.first;
    }

    // The first charset declaration goes, other meta elements stay.
    std::string text = "<meta name=\"a\"><META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; CHARSET=big5\"><p>";
    FixHtmlCharsetMeta(text);
    EXPECT_EQ(std::string(kUtf8CharsetMeta) + "<meta name=\"a\"><p>", text);
}

TEST_F(OskanProtocolTest, ReadHandsOutTheEntryOnceInPieces)
{
    const ComPtr<COskanProtocol> protocol = COskanProtocol::Create(m_window.m_hWnd);
    char buffer[16] = {};
    ULONG read = 99;
    EXPECT_EQ(E_FAIL, protocol->Read(buffer, sizeof buffer, &read));
    const ComPtr<CRecordingSink> sink = CRecordingSink::Create();
    ASSERT_EQ(S_OK, protocol->Start((L"oskan://" + m_key + L"/img/a.png").c_str(), sink.Get(), nullptr, 0, 0));
    EXPECT_EQ(S_OK, protocol->Read(buffer, 0, &read));
    EXPECT_EQ(S_OK, protocol->Read(buffer, 4, &read));
    EXPECT_EQ(4u, read);
    // A binding locked with LockRequest reads on after its end.
    EXPECT_EQ(S_OK, protocol->LockRequest(0));
    EXPECT_EQ(S_OK, protocol->Terminate(0));
    EXPECT_EQ(S_FALSE, protocol->Read(buffer + 4, sizeof buffer - 4, &read));
    EXPECT_EQ(3u, read);
    EXPECT_EQ("PNGDATA", std::string(buffer));
    EXPECT_EQ(S_FALSE, protocol->Read(buffer, sizeof buffer, &read));
    EXPECT_EQ(0u, read);
}

TEST_F(OskanProtocolTest, FailuresAreLoggedAndReachNoSink)
{
    const CLogCapture log;
    std::string bytes;
    std::vector<std::wstring> calls;
    EXPECT_EQ(INET_E_INVALID_URL, Fetch(L"oskan:/" + m_key, bytes, &calls));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(log.Contains(L"Invalid url: oskan:/" + m_key)) << log.Text();

    EXPECT_EQ(E_FAIL, Fetch(L"oskan://" + m_key + L"/missing.png", bytes, &calls));
    EXPECT_TRUE(calls.empty());

    const std::wstring unknown = std::wstring(kTestSubscription) + L"_unknown";
    EXPECT_EQ(E_FAIL, Fetch(L"oskan://" + unknown, bytes, &calls));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(log.Contains(L"Failed to get the data file name of document: " + unknown)) << log.Text();
    EXPECT_TRUE(log.Contains(L"Failed to get data file: ")) << log.Text();

    // A key the request cannot carry is refused whole, never cut to another key.
    const std::wstring longKey(260, L'k');
    const size_t asked = m_window.asked.size();
    EXPECT_EQ(E_FAIL, Fetch(L"oskan://" + longKey + L"/img/a.png", bytes, &calls));
    EXPECT_EQ(asked, m_window.asked.size());
    EXPECT_TRUE(log.Contains(L"Failed to get the data file name of document: " + longKey)) << log.Text();
}

TEST_F(OskanProtocolTest, FactoryMakesProtocolsOnlyAndIgnoresTheOuterObject)
{
    const ComPtr<COskanProtocol> factory = COskanProtocol::Create(m_window.m_hWnd);
    void* object = &object;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, factory->CreateInstance(static_cast<IClassFactory*>(factory.Get()), IID_IUnknown, &unknown));
    ComPtr<IInternetProtocol> protocol;
    ASSERT_EQ(S_OK, unknown.As(&protocol));
    ComPtr<IUnknown> factoryIdentity;
    ASSERT_EQ(S_OK, factory.As(&factoryIdentity));
    EXPECT_NE(factoryIdentity.Get(), unknown.Get());
    // The new object asks the factory's window.
    const ComPtr<CRecordingSink> sink = CRecordingSink::Create();
    EXPECT_EQ(S_OK, protocol->Start((L"oskan://" + m_key + L"/img/a.png").c_str(), sink.Get(), nullptr, 0, 0));
}

// The protocol's own factory, which keeps every request object it makes.
class CKeepingFactory final : public CComObjectBase<CKeepingFactory, IClassFactory> {
public:
    explicit CKeepingFactory(HWND window) : m_factory(COskanProtocol::Create(window)) {}

    std::vector<ComPtr<IUnknown>> made;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        const HRESULT result = m_factory->CreateInstance(outer, iid, object);
        if (SUCCEEDED(result))
            made.emplace_back(static_cast<IUnknown*>(*object));
        return result;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ComPtr<COskanProtocol> m_factory;
};

TEST_F(OskanProtocolTest, RequestObjectsGoWithTheirBindings)
{
    const ComPtr<CKeepingFactory> factory = CKeepingFactory::Create(m_window.m_hWnd);
    ComPtr<IInternetSession> session;
    ASSERT_EQ(S_OK, ::CoInternetGetSession(0, &session, 0));
    ASSERT_EQ(S_OK, session->RegisterNameSpace(factory.Get(), CLSID_OskanProtocol, kOskanScheme, 0, nullptr, 0));
    CUrlMonRead read;
    for (const wchar_t* entry : {L"", L"/img/a.png"})
        ASSERT_TRUE(ReadThroughUrlMon((L"oskan://" + m_key + entry).c_str(), read)) << entry;
    session->UnregisterNameSpace(factory.Get(), kOskanScheme);
    ASSERT_FALSE(factory->made.empty());
    // Only the test's own reference is left of each.
    for (const ComPtr<IUnknown>& made : factory->made) {
        made->AddRef();
        EXPECT_EQ(1u, made->Release());
    }
}

TEST_F(OskanProtocolTest, UrlMonBindsTheSchemeWhileItIsRegistered)
{
    COskanProtocolRegistration registration;
    ASSERT_TRUE(RegisterOskanProtocol(m_window, registration));
    CUrlMonRead read;
    ASSERT_TRUE(ReadThroughUrlMon((L"oskan://" + m_key + L"/img/a.png").c_str(), read));
    EXPECT_EQ(S_OK, read.result);
    EXPECT_EQ("PNGDATA", read.bytes);

    UnregisterOskanProtocol(registration);
    ASSERT_TRUE(ReadThroughUrlMon((L"oskan://" + m_key + L"/img/a.png").c_str(), read));
    EXPECT_TRUE(FAILED(read.result));
    EXPECT_TRUE(read.bytes.empty());
}

TEST(OskanUrl, TheDocumentsOwnUrlIgnoresOneTrailingSlashAndFragments)
{
    const wchar_t* const own = L"oskan://s_d";
    EXPECT_TRUE(IsDocumentOwnUrl(L"oskan://s_d", own));
    EXPECT_TRUE(IsDocumentOwnUrl(L"oskan://s_d/", own));
    EXPECT_TRUE(IsDocumentOwnUrl(L"oskan://s_d/#part", own));
    EXPECT_TRUE(IsDocumentOwnUrl(L"oskan://s_d#part", L"oskan://s_d/#top"));
    EXPECT_FALSE(IsDocumentOwnUrl(L"oskan://s_d/other.htm", own));
    EXPECT_FALSE(IsDocumentOwnUrl(L"oskan://s_d//", own));
    EXPECT_FALSE(IsDocumentOwnUrl(L"oskan://s_e", own));
}

}  // namespace
