// Times reading a document's page and pictures through oskan:// as the browser
// does (urlmon's asynchronous pull binding), beside reading the same entries
// straight from the data-file cache: cold (the cache cleared before each round)
// and cached. Run by hand: OskanProtocolBench.exe (under Wine: wine OskanProtocolBench.exe).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DocumentStore.h"
#include "BenchScenario.h"
#include "UrlMonReader.h"
#include "app/views/OskanProtocol.h"
#include "framework/ComInitialize.h"
#include "librarydata/DataFileCache.h"

namespace {

// The median time of one run of each piece of work, in milliseconds. The pieces take
// turns, so that a busy machine slows each alike; prepare runs before each, untimed.
std::vector<double> Time(int runs, const std::function<void()>& prepare,
                         const std::vector<std::function<void()>>& works)
{
    const CStopwatch clock;
    std::vector<std::vector<double>> times(works.size());
    for (int i = 0; i < runs; ++i) {
        for (size_t w = 0; w < works.size(); ++w) {
            prepare();
            const double start = clock.Now();
            works[w]();
            times[w].push_back((clock.Now() - start) * 1000.0);
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& each : times) {
        std::sort(each.begin(), each.end());
        medians.push_back(each[each.size() / 2]);
    }
    return medians;
}

std::string Noise(size_t size, DWORD seed)
{
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<char>(seed >> 16);
    }
    return bytes;
}

std::string Page(size_t size)
{
    std::string text = "<html><head><title>Bench</title></head><body>";
    for (int i = 0; text.size() < size; ++i)
        text += "<p>The reader shows page " + std::to_string(i) + " of the book.<img src=\"img/p" +
                std::to_string(i % 40) + ".png\"></p>\r\n";
    return text + "</body></html>";
}

class CQuietSink final : public CComObjectBase<CQuietSink, IInternetProtocolSink> {
public:
    STDMETHODIMP Switch(PROTOCOLDATA*) override { return S_OK; }
    STDMETHODIMP ReportProgress(ULONG, LPCWSTR) override { return S_OK; }
    STDMETHODIMP ReportData(DWORD, ULONG, ULONG) override { return S_OK; }
    STDMETHODIMP ReportResult(HRESULT, DWORD, LPCWSTR) override { return S_OK; }
};

struct CFreeBlock {
    void operator()(BYTE* block) const { free(block); }
};

// A scheme that serves one byte at once with the handler's reports: what urlmon's
// binding costs of itself, the floor under every entry read through a scheme.
class COneByteProtocol final
    : public CComObjectBase<COneByteProtocol, IInternetProtocol, IInternetProtocolRoot, IClassFactory> {
public:
    STDMETHODIMP Start(LPCWSTR url, IInternetProtocolSink* sink, IInternetBindInfo*, DWORD, HANDLE_PTR) override
    {
        sink->ReportProgress(BINDSTATUS_FINDINGRESOURCE, url);
        sink->ReportProgress(BINDSTATUS_CONNECTING, url);
        sink->ReportProgress(BINDSTATUS_SENDINGREQUEST, url);
        sink->ReportProgress(BINDSTATUS_MIMETYPEAVAILABLE, L"image/png");
        sink->ReportData(BSCF_FIRSTDATANOTIFICATION, 0, 1);
        sink->ReportData(BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, 1, 1);
        sink->ReportResult(S_OK, 0, nullptr);
        return S_OK;
    }
    STDMETHODIMP Continue(PROTOCOLDATA*) override { return S_OK; }
    STDMETHODIMP Abort(HRESULT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Terminate(DWORD) override { return S_OK; }
    STDMETHODIMP Suspend() override { return E_NOTIMPL; }
    STDMETHODIMP Resume() override { return E_NOTIMPL; }
    STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override
    {
        const ULONG n = m_served || count == 0 ? 0 : 1;
        if (n)
            *static_cast<char*>(buffer) = 'x';
        m_served = m_served || n;
        if (read)
            *read = n;
        return m_served ? S_FALSE : S_OK;
    }
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP LockRequest(DWORD) override { return S_OK; }
    STDMETHODIMP UnlockRequest() override { return S_OK; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID iid, void** object) override
    {
        const Microsoft::WRL::ComPtr<COneByteProtocol> protocol = Create();
        return protocol ? protocol->QueryInterface(iid, object) : E_OUTOFMEMORY;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    bool m_served = false;
};

}  // namespace

int main()
{
    CComInitialize com;
    CDocumentStore store;
    Entries entries = {{L"index.htm", Page(200 * 1024)}};
    for (int i = 0; i < 40; ++i)
        entries.push_back({L"img/p" + std::to_wstring(i) + L".png", Noise(20 * 1024, 100 + i)});
    size_t total = 0;
    for (const auto& entry : entries)
        total += entry.second.size();
    const std::wstring key = store.Add(L"6a5b4c3d-2e1f-4a0b-9c8d-7e6f5a4b3c2d", entries);
    const std::wstring path = store.Database().GetDocumentFileName(kTestSubscription,
                                                                   L"6a5b4c3d-2e1f-4a0b-9c8d-7e6f5a4b3c2d");
    CFakeMainWindow mainWindow(store.Database());
    COskanProtocolRegistration registration;
    if (!RegisterOskanProtocol(mainWindow, registration)) {
        std::printf("Cannot register the scheme\n");
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file);
    std::printf("Document: %u entries, %u bytes, data file %lu bytes\n\n", unsigned(entries.size()), unsigned(total),
                file.nFileSizeLow);

    COskanDataFileCache* cache = QelGetDataFileCache();
    bool ok = true;
    const auto throughScheme = [&] {
        for (const auto& entry : entries) {
            const std::wstring url =
                L"oskan://" + key + (entry.first == L"index.htm" ? std::wstring() : L"/" + entry.first);
            CUrlMonRead read;
            ok = ReadThroughUrlMon(url.c_str(), read) && read.result == S_OK && read.bytes == entry.second && ok;
        }
    };
    const auto fromCache = [&] {
        for (const auto& entry : entries) {
            BYTE* data = nullptr;
            DWORD size = 0;
            const BOOL read = entry.first == L"index.htm"
                                  ? cache->ExtractIndexPage(path.c_str(), &data, &size)
                                  : cache->ExtractEntry(path.c_str(), entry.first.c_str(), &data, &size);
            const std::unique_ptr<BYTE, CFreeBlock> owned(data);
            ok = read && std::string(data, data + size) == entry.second && ok;
        }
    };
    // The handler alone, as urlmon drives it, with a sink that only counts.
    const auto handlerAlone = [&] {
        for (const auto& entry : entries) {
            const std::wstring url =
                L"oskan://" + key + (entry.first == L"index.htm" ? std::wstring() : L"/" + entry.first);
            const Microsoft::WRL::ComPtr<COskanProtocol> protocol = COskanProtocol::Create(mainWindow.m_hWnd);
            const Microsoft::WRL::ComPtr<CQuietSink> sink = CQuietSink::Create();
            std::string bytes(entry.second.size() + 1, '\0');
            ULONG read = 0;
            ok = protocol->Start(url.c_str(), sink.Get(), nullptr, 0, 0) == S_OK &&
                 protocol->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read) == S_FALSE &&
                 bytes.compare(0, read, entry.second) == 0 && read == entry.second.size() && ok;
        }
    };
    const auto pathRequests = [&] {
        for (size_t i = 0; i < entries.size(); ++i)
            ok = !COskanProtocol::Create(mainWindow.m_hWnd)->GetDocumentFileName(key).empty() && ok;
    };
    const auto mimeTypes = [&] {
        for (const auto& entry : entries)
            GetEntryMimeType(entry.first);
    };
    const Microsoft::WRL::ComPtr<COneByteProtocol> oneByte = COneByteProtocol::Create();
    if (!oneByte || FAILED(registration.GetSession()->RegisterNameSpace(oneByte.Get(), CLSID_NULL, L"onebyte", 0,
                                                                           nullptr, 0))) {
        std::printf("Cannot register the one-byte scheme\n");
        return 1;
    }
    const auto bindingsAlone = [&] {
        for (size_t i = 0; i < entries.size(); ++i) {
            CUrlMonRead read;
            ok = ReadThroughUrlMon(L"onebyte://x/p.png", read) && read.bytes == "x" && ok;
        }
    };
    const auto clear = [&] { cache->Clear(); };
    const auto keep = [] {};

    const std::vector<double> cold = Time(31, clear, {throughScheme, fromCache, handlerAlone});
    const double coldScheme = cold[0];
    const double coldCache = cold[1];
    fromCache();
    const std::vector<double> warm =
        Time(31, keep, {throughScheme, fromCache, handlerAlone, pathRequests, mimeTypes, bindingsAlone});
    const double warmScheme = warm[0];
    const double warmCache = warm[1];
    const double warmHandler = warm[2];
    const double paths = warm[3];
    const double types = warm[4];
    const double bindings = warm[5];
    const double perEntry = (warmScheme - warmCache) / double(entries.size());

    std::printf("%-34s %9s %9s %7s\n", "round (page and 40 pictures)", "scheme", "cache", "ratio");
    std::printf("%-34s %6.2f ms %6.2f ms %6.2fx\n", "cold (cache cleared first)", coldScheme, coldCache,
                coldScheme / coldCache);
    std::printf("%-34s %6.2f ms\n", "  of which the handler alone", cold[2]);
    std::printf("%-34s %6.2f ms %6.2f ms %6.2fx\n", "cached", warmScheme, warmCache, warmScheme / warmCache);
    std::printf("%-34s %6.2f ms\n", "  of which the handler alone", warmHandler);
    std::printf("%-34s %6.2f ms\n", "    its path requests", paths);
    std::printf("%-34s %6.2f ms\n", "    its type look-ups", types);
    std::printf("%-34s %6.2f ms\n", "  bindings alone (one byte each)", bindings);
    std::printf("\nThe binding adds %.3f ms per entry in the cached round.\n", perEntry);
    registration.GetSession()->UnregisterNameSpace(oneByte.Get(), L"onebyte");
    std::printf("\n%s\n", ok ? "All results checked." : "SOME RESULTS WERE WRONG.");
    return ok ? 0 : 1;
}
