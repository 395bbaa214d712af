#include "app/views/OskanProtocol.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "app/frame/MainFrameMessages.h"
#include "app/views/HtmlToUtf8.h"
#include "app/views/OskanUrl.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Registry.h"
#include "librarydata/DataFileCache.h"

using Microsoft::WRL::ComPtr;

namespace {

// The longest key the request buffer carries, its terminator aside.
constexpr size_t kMaxKeyLength = 259;
constexpr UINT kMaxMimeTypeLength = 1024;

}  // namespace

std::wstring GetEntryMimeType(const std::wstring& entryName)
{
    std::wstring extension = EntryExtension(entryName);
    if (extension.empty())
        return std::wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    // Each registry read is a round trip to the Wine server; a page asks for the same
    // few types many times, and the types do not change while the program runs.
    static std::mutex lock;
    static std::map<std::wstring, std::wstring> known;
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = known.find(extension);
    if (found != known.end())
        return found->second;
    std::wstring type = QelRegReadString(HKEY_CLASSES_ROOT, extension.c_str(), L"Content Type", L"");
    if (type.size() > kMaxMimeTypeLength)
        type.resize(kMaxMimeTypeLength);
    return known.emplace(extension, type).first->second;
}

std::wstring COskanProtocol::GetDocumentFileName(const std::wstring& key) const
{
    if (!m_window)
        return std::wstring();
    wchar_t request[kMaxKeyLength + 1] = {};
    wchar_t reply[kDocumentFileNameLength] = {};
    // A longer key would be cut into another document's key, so it is refused whole.
    if (key.size() <= kMaxKeyLength) {
        std::wmemcpy(request, key.c_str(), key.size());
        if (::SendMessageW(m_window, WM_QEL_GETDOCUMENTFILENAME, reinterpret_cast<WPARAM>(request),
                           reinterpret_cast<LPARAM>(reply))) {
            reply[kDocumentFileNameLength - 1] = L'\0';
            return reply;
        }
    }
    TessaryWriteLog(QelFormatString1(L"Failed to get the data file name of document: %1", key.c_str()));
    return std::wstring();
}

template <class Extract>
BOOL COskanProtocol::TakeBlock(Extract extract)
{
    BYTE* block = nullptr;
    DWORD size = 0;
    if (!extract(&block, &size))
        return FALSE;
    m_block.reset(block);
    m_data = block;
    m_size = size;
    return TRUE;
}

BOOL COskanProtocol::ReadEntry(const std::wstring& path, const std::wstring& entryPath, std::wstring& entryName)
{
    COskanDataFileCache* cache = QelGetDataFileCache();
    const auto readEntry = [&](const std::wstring& name) {
        return TakeBlock(
            [&](BYTE** block, DWORD* size) { return cache->ExtractEntry(path.c_str(), name.c_str(), block, size); });
    };
    entryName = entryPath;
    // Browsers ask for "my%20pic.png" and send "x.htm#s" whole; an entry really named
    // with an escape is still found as written first.
    if (!entryName.empty() && !readEntry(entryName)) {
        const std::wstring decoded = DecodeEntryPath(entryName);
        if (path.empty() || decoded == entryName)
            return FALSE;
        entryName = decoded;
        if (!entryName.empty())
            return readEntry(entryName);
    }
    if (!entryName.empty())
        return TRUE;
    // Whatever the index page is named, it is served as an HTML page.
    entryName = L"index.htm";
    return TakeBlock([&](BYTE** block, DWORD* size) { return cache->ExtractIndexPage(path.c_str(), block, size); });
}

HRESULT COskanProtocol::Report(const wchar_t* url, const std::wstring& entryName)
{
    // urlmon may call Terminate from inside any of these reports, which lets m_sink go,
    // and the sink with it unless it is held here.
    const ComPtr<IInternetProtocolSink> sink = m_sink;
    sink->ReportProgress(BINDSTATUS_FINDINGRESOURCE, url);
    sink->ReportProgress(BINDSTATUS_CONNECTING, url);
    sink->ReportProgress(BINDSTATUS_SENDINGREQUEST, url);
    sink->ReportProgress(BINDSTATUS_MIMETYPEAVAILABLE, GetEntryMimeType(entryName).c_str());
    if (ConvertHtmlToUtf8(entryName, m_data, m_size, m_converted)) {
        m_block.reset();
        m_data = m_converted.data();
        m_size = static_cast<ULONG>(m_converted.size());
        sink->ReportProgress(BINDSTATUS_ENCODING, L"utf-8");
    }
    sink->ReportData(BSCF_FIRSTDATANOTIFICATION, 0, m_size);
    const HRESULT result = sink->ReportData(BSCF_LASTDATANOTIFICATION | BSCF_DATAFULLYAVAILABLE, m_size, m_size);
    if (FAILED(result))
        return result;
    sink->ReportResult(S_OK, 0, nullptr);
    return S_OK;
}

STDMETHODIMP COskanProtocol::Start(LPCWSTR url, IInternetProtocolSink* sink, IInternetBindInfo*, DWORD, HANDLE_PTR)
{
    // The binding that ends inside a report may let its last reference to this object go
    // there too, while Start still has work to do on it.
    const ComPtr<COskanProtocol> self(this);
    const HRESULT result = Fetch(url, sink);
    // A binding whose start failed ends without Terminate.
    if (FAILED(result))
        m_sink.Reset();
    return result;
}

HRESULT COskanProtocol::Fetch(LPCWSTR url, IInternetProtocolSink* sink)
{
    try {
        const std::wstring text = url ? url : L"";
        std::wstring key;
        std::wstring entryPath;
        if (!SplitOskanUrl(text, key, entryPath)) {
            TessaryWriteLog(QelFormatString1(L"Invalid url: %1", text.c_str()));
            return INET_E_INVALID_URL;
        }
        if (!sink)
            return E_POINTER;
        m_sink = sink;
        m_hasData = FALSE;
        m_position = 0;
        std::wstring entryName;
        if (!ReadEntry(GetDocumentFileName(key), entryPath, entryName))
            return E_FAIL;
        m_hasData = TRUE;
        return Report(text.c_str(), entryName);
    } catch (const std::bad_alloc&) {
        TessaryWriteLog(L"Out of memory!");
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP COskanProtocol::Read(void* buffer, ULONG count, ULONG* read)
{
    if (!m_hasData)
        return E_FAIL;
    if (read)
        *read = 0;
    if (count == 0)
        return S_OK;
    if (m_position >= m_size)
        return S_FALSE;
    if (!buffer)
        return E_POINTER;
    const ULONG n = std::min(count, m_size - m_position);
    std::memcpy(buffer, m_data + m_position, n);
    m_position += n;
    if (read)
        *read = n;
    return m_position >= m_size ? S_FALSE : S_OK;
}

STDMETHODIMP COskanProtocol::CreateInstance(IUnknown*, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IInternetProtocol && iid != IID_IInternetProtocolRoot && iid != IID_IUnknown)
        return E_NOINTERFACE;
    const ComPtr<COskanProtocol> protocol = Create(m_window);
    return protocol ? protocol->QueryInterface(iid, object) : E_OUTOFMEMORY;
}

COskanProtocolRegistration::~COskanProtocolRegistration()
{
    UnregisterOskanProtocol(*this);
}

BOOL RegisterOskanProtocol(HWND window, COskanProtocolRegistration& registration)
{
    UnregisterOskanProtocol(registration);
    const ComPtr<COskanProtocol> protocol = COskanProtocol::Create(window);
    ComPtr<IClassFactory> factory;
    ComPtr<IInternetSession> session;
    if (!protocol || FAILED(protocol.As(&factory)) || FAILED(::CoInternetGetSession(0, &session, 0)) || !session ||
        FAILED(session->RegisterNameSpace(factory.Get(), CLSID_OskanProtocol, kOskanScheme, 0, nullptr, 0)))
        return FALSE;
    registration.m_session = session;
    registration.m_factory = factory;
    session->CreateBinding(nullptr, L"oskan:", nullptr, nullptr, &registration.m_idleBinding, 0);
    return TRUE;
}

void UnregisterOskanProtocol(COskanProtocolRegistration& registration)
{
    if (registration.m_session)
        registration.m_session->UnregisterNameSpace(registration.m_factory.Get(), kOskanScheme);
    registration.m_idleBinding.Reset();
    registration.m_session.Reset();
    registration.m_factory.Reset();
}
