#pragma once
// One location, a web URL or a local path, kept in a normalised form and
// turned into a local file: a file URL into its path, a web URL into the file
// of the URL cache or into a fresh download.

#include <windows.h>
#include <urlmon.h>
#include <wrl/client.h>

#include <mutex>
#include <string>

// Also the callback of its own downloads, so that each one reports progress,
// remembers where a redirect led, and is aborted after the network time-out
// without progress. It is not reference-counted: it lives on its owner's
// stack and must outlive every download it is passed to.
class CQelURL : public IBindStatusCallback {
public:
    CQelURL();
    // Normalises the text; code page 0 decodes escaped bytes as the text suggests.
    CQelURL(const wchar_t* text, UINT codePage);
    // Copies take the URL text only.
    CQelURL(const CQelURL& other);
    CQelURL& operator=(const CQelURL& other);

    const std::wstring& GetURL() const { return m_url; }
    // Taken as it stands, without normalising.
    void SetURL(const wchar_t* text);
    const std::wstring& GetRedirectURL() const { return m_redirectUrl; }

    bool HasEscapes() const;
    bool IsFileURL() const;
    bool IsDrivePath() const;
    std::wstring ToFilePath() const;

    // Empty out when nothing could be had; the file may be missing when
    // downloading was not allowed.
    void GetLocalFile(std::wstring& out, bool downloadAllowed);
    bool DownloadToFile(std::wstring& out);
    // The local file under a name of letters, digits and "._[]" only.
    void GetSafeLocalFile(std::wstring& out, bool downloadAllowed);
    bool GetSafeLocalFileExists(std::wstring& out, bool downloadAllowed);

    bool IsSame(const CQelURL& other) const;
    bool IsSameText(const wchar_t* text) const;
    bool Combine(const wchar_t* relative);
    CQelURL GetBaseURL() const;
    std::wstring GetHost() const;
    std::wstring GetQuery() const;
    std::wstring GetPath() const;

    // IBindStatusCallback
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG* priority) override;
    STDMETHODIMP OnLowResource(DWORD reserved) override;
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID iid, IUnknown* object) override;

private:
    class CStallWatch;

    // A plain download to target, or to a free name beside it.
    bool DownloadToFreeName(std::wstring target, std::wstring& out);
    // Called by the watch: aborts the binding under way when it has shown no
    // progress within the time-out; true when it did.
    bool AbortIfStalled(DWORD timeout);
    bool HasStalled();

    std::wstring m_url;
    std::wstring m_redirectUrl;
    // The binding under way and the tick of its last progress, shared with the watch's thread.
    std::mutex m_bindingLock;
    Microsoft::WRL::ComPtr<IBinding> m_binding;
    DWORD m_lastProgress = 0;
    bool m_stalled = false;
};
