#include "foundation/URL.h"

#include "foundation/Charsets.h"
#include "foundation/Encoding.h"
#include "foundation/FileCompare.h"
#include "foundation/Files.h"
#include "foundation/Global.h"
#include "foundation/MD5.h"
#include "foundation/MessageFormat.h"
#include "foundation/NetTimeout.h"
#include "foundation/Paths.h"
#include "framework/Handle.h"

#include <shlwapi.h>
#include <wininet.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kPathChars = 1024;
constexpr DWORD kUrlChars = 4096;
constexpr DWORD kCacheEntryBytes = 8192;
constexpr size_t kLongestSafeTitle = 50;

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

void ReplaceAll(std::wstring& text, const wchar_t* from, const wchar_t* to)
{
    const size_t fromLength = wcslen(from), toLength = wcslen(to);
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + toLength))
        text.replace(at, fromLength, to);
}

// Escapes that browsers and servers write for characters a path may hold.
std::wstring DecodeSpecialEscapes(std::wstring text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    static const wchar_t* const pairs[][2] = {
        {L"%5E", L"^"}, {L"%26", L"&"}, {L"%60", L"`"}, {L"%7B", L"{"}, {L"%7D", L"}"},
        {L"%7C", L"|"}, {L"%5D", L"]"}, {L"%5B", L"["}, {L"%22", L"\""}, {L"%3C", L"<"},
        {L"%3E", L">"}, {L"%5C", L"\\"}, {L"%25", L"%"}, {L"%20", L" "},
    };
    for (const auto& pair : pairs)
        ReplaceAll(text, pair[0], pair[1]);
    return text;
}

bool IsFileUrlText(const std::wstring& text)
{
    return !text.empty() && ::UrlIsW(text.c_str(), URLIS_FILEURL);
}

bool IsDrivePathText(const std::wstring& text)
{
    return text.size() >= 2 && text[1] == L':';
}

bool PathFromUrl(const std::wstring& url, std::wstring& path)
{
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    DWORD length = kPathChars;
    if (FAILED(::PathCreateFromUrlW(url.c_str(), buffer.data(), &length, 0)))
        return false;
    path = buffer.data();
    return true;
}

bool Canonicalize(const std::wstring& url, std::wstring& out)
{
    std::vector<wchar_t> buffer(kUrlChars, L'\0');
    DWORD length = kUrlChars;
    if (FAILED(::UrlCanonicalizeW(url.c_str(), buffer.data(), &length, 0)))
        return false;
    ::UrlUnescapeW(buffer.data(), nullptr, nullptr, URL_UNESCAPE_INPLACE);
    out = buffer.data();
    return true;
}

// Escaped bytes are decoded as bytes, so that an escaped multi-byte character
// comes back whole in the code page it was written in.
bool CanonicalizeBytes(const std::wstring& url, UINT codePage, std::wstring& out)
{
    std::string bytes;
    QelUnicodeToMultiByte(bytes, 0, url.c_str());
    std::vector<char> buffer(kUrlChars, '\0');
    DWORD length = kUrlChars;
    if (FAILED(::UrlCanonicalizeA(bytes.c_str(), buffer.data(), &length, 0)))
        return false;
    ::UrlUnescapeA(buffer.data(), nullptr, nullptr, URL_UNESCAPE_INPLACE);
    bytes = buffer.data();

    if (codePage == 1200)
        codePage = 0;
    if (codePage == 0)
        codePage = QelGuessCodePage(bytes.c_str());
    std::vector<wchar_t> wide(kUrlChars, L'\0');
    const int chars = ::MultiByteToWideChar(codePage, 0, bytes.c_str(), -1, wide.data(), kUrlChars);
    if (chars <= 0)
        return false;
    out = wide.data();
    return true;
}

// The last segment of the URL's path, fit to be a file name.
std::wstring OwnFileName(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"/\\");
    std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
    QelMakeValidFileName(name);
    return name.empty() ? L"download" : name;
}

// The file's name unescaped, as one name: escaped separators, a drive's colon
// or a name of dots alone would lead a copy out of the folder it is meant for.
std::wstring UnescapedFileName(const std::wstring& path)
{
    const std::wstring fileName = QelExtractFileName(path.c_str());
    std::vector<wchar_t> name(kUrlChars, L'\0');
    fileName.copy(name.data(), kUrlChars - 1);
    ::UrlUnescapeW(name.data(), nullptr, nullptr, URL_UNESCAPE_INPLACE);
    std::wstring plain = name.data();
    plain.erase(0, plain.find_last_of(L"\\/:") + 1);
    return plain.find_first_not_of(L'.') == std::wstring::npos ? fileName : plain;
}

bool IsSafeNameChar(wchar_t c)
{
    return c == L'.' || c == L'_' || c == L'[' || c == L']' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
           (c >= L'0' && c <= L'9');
}

} // namespace

// Watches the downloads of its scope from a thread of its own. A stalled
// server calls no callback at all, and Wine's URL moniker sets no time-out of
// its own, so only another thread can end such a download: through the
// binding's Abort, which ends the download on its own thread as a failure.
class CQelURL::CStallWatch {
public:
    explicit CStallWatch(CQelURL& url)
        : m_url(url), m_done(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_thread([this] { Watch(); })
    {
    }
    ~CStallWatch()
    {
        ::SetEvent(m_done.Get());
        m_thread.join();
    }
    CStallWatch(const CStallWatch&) = delete;
    CStallWatch& operator=(const CStallWatch&) = delete;

private:
    void Watch()
    {
        const DWORD timeout = QelGetNetTimeout();
        const DWORD interval = std::max<DWORD>(timeout / 20, 50);
        while (::WaitForSingleObject(m_done.Get(), interval) == WAIT_TIMEOUT) {
            if (m_url.AbortIfStalled(timeout))
                TessaryWriteLog(QelFormatString2(L"The download of %1 made no progress within %2 seconds",
                                                 m_url.m_url.c_str(), std::to_wstring(timeout / 1000).c_str()));
        }
    }

    CQelURL& m_url;
    CHandle m_done;
    std::thread m_thread;
};

CQelURL::CQelURL() = default;

CQelURL::CQelURL(const wchar_t* text, UINT codePage)
{
    std::wstring url = DecodeSpecialEscapes(text ? text : L"");
    if (url.empty())
        return;

    if (IsFileUrlText(url)) {
        std::wstring path;
        m_url = PathFromUrl(url, path) ? DecodeSpecialEscapes(path) : url;
        return;
    }
    if (IsDrivePathText(url)) {
        std::wstring canonical, path;
        m_url = Canonicalize(url, canonical) && PathFromUrl(canonical, path) ? path : url;
        return;
    }
    if (url.size() >= 2 && url.compare(0, 2, L"//") == 0)
        url.insert(0, L"http:");

    std::wstring canonical;
    const bool done = url.find(L'%') == std::wstring::npos ? Canonicalize(url, canonical)
                                                           : CanonicalizeBytes(url, codePage, canonical);
    m_url = done ? canonical : url;
    if (IsFileURL() || IsDrivePath())
        m_url = ToFilePath();
}

CQelURL::CQelURL(const CQelURL& other) : IBindStatusCallback(), m_url(other.m_url)
{
}

CQelURL& CQelURL::operator=(const CQelURL& other)
{
    m_url = other.m_url;
    m_redirectUrl.clear();
    return *this;
}

void CQelURL::SetURL(const wchar_t* text)
{
    m_url = text ? text : L"";
    m_redirectUrl.clear();
}

bool CQelURL::HasEscapes() const
{
    return m_url.find(L'%') != std::wstring::npos;
}

bool CQelURL::IsFileURL() const
{
    return IsFileUrlText(m_url) || IsDrivePath();
}

bool CQelURL::IsDrivePath() const
{
    return IsDrivePathText(m_url);
}

std::wstring CQelURL::ToFilePath() const
{
    std::wstring path;
    if (IsDrivePath())
        path = m_url;
    else if (!StartsWithNoCase(m_url, L"file:") || !PathFromUrl(m_url, path))
        return std::wstring();
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path.substr(0, path.find_first_of(L"#?"));
}

void CQelURL::GetLocalFile(std::wstring& out, bool downloadAllowed)
{
    out.clear();
    if (IsFileURL()) {
        out = ToFilePath();
        return;
    }

    std::wstring url = m_url;
    if (StartsWithNoCase(url, L"http:") && url.compare(0, 5, L"http:") != 0)
        url.replace(0, 4, L"http");
    for (auto& c : url)
        if (c == L'\\')
            c = L'/';

    std::wstring candidate;
    const std::wstring key = url.substr(0, url.find(L'#'));
    std::vector<BYTE> entry(kCacheEntryBytes, 0);
    DWORD size = kCacheEntryBytes;
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(entry.data());
    if (::GetUrlCacheEntryInfoW(key.c_str(), info, &size) && info->lpszLocalFileName)
        candidate = info->lpszLocalFileName;

    if ((candidate.empty() || !QelFileExists(candidate.c_str())) && downloadAllowed) {
        if (!DownloadToFile(candidate))
            return;
    }

    if (QelFileExists(candidate.c_str()) && candidate.find(L'%') != std::wstring::npos) {
        const std::wstring copy = TessaryGetGlobal()->GetTempFolder() + UnescapedFileName(candidate);
        ::CopyFileW(candidate.c_str(), copy.c_str(), FALSE);
        candidate = copy;
    }
    out = candidate;
}

bool CQelURL::DownloadToFile(std::wstring& out)
{
    m_redirectUrl.clear();
    out.clear();
    {
        const std::lock_guard<std::mutex> lock(m_bindingLock);
        m_stalled = false;
    }
    const CStallWatch watch(*this);
    wchar_t cacheFile[MAX_PATH] = L"";
    // The cache refuses some addresses outright (Wine: any whose last segment
    // has no extension) and then names no file, so the download gets a name of
    // ours; a server that stalled is not asked again.
    if (FAILED(::URLDownloadToCacheFileW(nullptr, m_url.c_str(), cacheFile, MAX_PATH, 0, this))) {
        if (HasStalled())
            return false;
        return DownloadToFreeName(TessaryGetGlobal()->GetTempFolder() + OwnFileName(GetPath()), out);
    }

    const std::wstring target = TessaryGetGlobal()->GetTempFolder() + QelExtractFileName(cacheFile);
    if (QelFileExists(cacheFile)) {
        out = QelCopyFileIfDifferent(cacheFile, target.c_str());
        return true;
    }
    return DownloadToFreeName(target, out);
}

bool CQelURL::DownloadToFreeName(std::wstring target, std::wstring& out)
{
    QelMakeUniqueFileName(target);
    if (FAILED(::URLDownloadToFileW(nullptr, m_url.c_str(), target.c_str(), 0, this)))
        return false;
    out = target;
    return true;
}

void CQelURL::GetSafeLocalFile(std::wstring& out, bool downloadAllowed)
{
    out.clear();
    std::wstring local;
    GetLocalFile(local, downloadAllowed);
    if (local.empty() || !QelFileExists(local.c_str()))
        return;

    const std::wstring title = QelExtractFileTitle(local.c_str());
    std::wstring safe = title.size() > kLongestSafeTitle ? QelMD5WordHexZeroPaddedOfString(title.c_str()) : title;
    for (auto& c : safe)
        if (!IsSafeNameChar(c))
            c = L'_';
    if (safe == title) {
        out = local;
        return;
    }
    const std::wstring target =
        TessaryGetGlobal()->GetTempFolder() + safe + QelExtractFileExt(local.c_str());
    out = QelCopyFileIfDifferent(local.c_str(), target.c_str());
}

bool CQelURL::GetSafeLocalFileExists(std::wstring& out, bool downloadAllowed)
{
    GetSafeLocalFile(out, downloadAllowed);
    return !out.empty() && QelFileExists(out.c_str());
}

bool CQelURL::IsSame(const CQelURL& other) const
{
    if (IsFileURL() && other.IsFileURL()) {
        const std::wstring mine = QelGetLongPathName(ToFilePath().c_str());
        const std::wstring theirs = QelGetLongPathName(other.ToFilePath().c_str());
        return _wcsicmp(mine.c_str(), theirs.c_str()) == 0;
    }
    return _wcsicmp(m_url.c_str(), other.m_url.c_str()) == 0;
}

bool CQelURL::IsSameText(const wchar_t* text) const
{
    return IsSame(CQelURL(text, 0));
}

bool CQelURL::Combine(const wchar_t* relative)
{
    const std::wstring text = relative ? relative : L"";
    CQelURL other;
    other.m_url = text;
    if (TessaryGetGlobal()->IsResourceFilePath(text.c_str()) || other.IsFileURL()) {
        SetURL(text.c_str());
        return true;
    }
    std::wstring tail = text;
    while (tail.compare(0, 2, L"//") == 0)
        tail.erase(0, 1);
    std::vector<wchar_t> buffer(kUrlChars, L'\0');
    DWORD length = kUrlChars;
    if (FAILED(::UrlCombineW(m_url.c_str(), tail.c_str(), buffer.data(), &length, 0)))
        return false;
    *this = CQelURL(buffer.data(), 0);
    return true;
}

CQelURL CQelURL::GetBaseURL() const
{
    if (IsFileURL()) {
        const std::wstring path = ToFilePath();
        return CQelURL(QelExtractFilePath(path.c_str()).c_str(), 0);
    }
    std::wstring text = m_url.substr(0, m_url.find(L'?'));
    text = text.substr(0, text.find(L'#'));
    const size_t slash = text.rfind(L'/');
    if (slash != std::wstring::npos)
        text.erase(slash + 1);
    return CQelURL(text.c_str(), 0);
}

std::wstring CQelURL::GetHost() const
{
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    DWORD length = MAX_PATH;
    if (FAILED(::UrlGetPartW(m_url.c_str(), buffer.data(), &length, URL_PART_HOSTNAME, 0)))
        return std::wstring();
    return buffer.data();
}

std::wstring CQelURL::GetQuery() const
{
    std::vector<wchar_t> buffer(kUrlChars, L'\0');
    DWORD length = kUrlChars;
    if (FAILED(::UrlGetPartW(m_url.c_str(), buffer.data(), &length, URL_PART_QUERY, 0)))
        return std::wstring();
    return buffer.data();
}

std::wstring CQelURL::GetPath() const
{
    const size_t scheme = m_url.find(L"://");
    const size_t slash = m_url.find(L'/', scheme == std::wstring::npos ? 0 : scheme + 3);
    if (slash == std::wstring::npos)
        return std::wstring();
    const std::wstring path = m_url.substr(slash + 1);
    return path.substr(0, path.find_first_of(L"?#"));
}

STDMETHODIMP CQelURL::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IBindStatusCallback) {
        *out = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CQelURL::AddRef()
{
    return 1;
}

STDMETHODIMP_(ULONG) CQelURL::Release()
{
    return 1;
}

STDMETHODIMP CQelURL::OnStartBinding(DWORD, IBinding* binding)
{
    const std::lock_guard<std::mutex> lock(m_bindingLock);
    m_binding = binding;
    m_lastProgress = ::GetTickCount();
    return S_OK;
}

STDMETHODIMP CQelURL::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQelURL::OnLowResource(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQelURL::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText)
{
    {
        const std::lock_guard<std::mutex> lock(m_bindingLock);
        m_lastProgress = ::GetTickCount();
    }
    if (statusCode == BINDSTATUS_REDIRECTING)
        m_redirectUrl = statusText ? statusText : L"";
    TessaryGetGlobal()->OnDownloadProgress(progress, progressMax, statusText);
    return S_OK;
}

STDMETHODIMP CQelURL::OnStopBinding(HRESULT, LPCWSTR)
{
    const std::lock_guard<std::mutex> lock(m_bindingLock);
    m_binding.Reset();
    return S_OK;
}

bool CQelURL::HasStalled()
{
    const std::lock_guard<std::mutex> lock(m_bindingLock);
    return m_stalled;
}

bool CQelURL::AbortIfStalled(DWORD timeout)
{
    Microsoft::WRL::ComPtr<IBinding> binding;
    {
        const std::lock_guard<std::mutex> lock(m_bindingLock);
        if (!m_binding || ::GetTickCount() - m_lastProgress < timeout)
            return false;
        binding.Swap(m_binding);
        m_stalled = true;
    }
    binding->Abort();
    return true;
}

STDMETHODIMP CQelURL::GetBindInfo(DWORD*, BINDINFO*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQelURL::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQelURL::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}
