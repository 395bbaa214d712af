#pragma once
// The oskan:// scheme: serves a document's pages, pictures and style sheets from its
// data file through the process-wide data-file cache, asking the main window for the
// file's path (WM_QEL_GETDOCUMENTFILENAME). One object is registered as the class
// factory; each request gets a new object that urlmon drives on its thread:
// Start reads the whole entry and reports it, Read hands it out.
//
//   COskanProtocolRegistration registration;        // a member of the main frame
//   RegisterOskanProtocol(m_hWnd, registration);    // in its WM_CREATE
//   UnregisterOskanProtocol(registration);          // or when the member goes
#include <windows.h>
#include <urlmon.h>
#include <wrl/client.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComObject.h"

// The class the namespace is registered under.
inline constexpr CLSID CLSID_OskanProtocol = {0x9EC9F1E3, 0x455A, 0x4B2D,
                                              {0xA6, 0x1F, 0x5F, 0x28, 0xDE, 0x55, 0xAE, 0xC1}};
inline constexpr wchar_t kOskanScheme[] = L"oskan";

class COskanProtocol final
    : public CComObjectBase<COskanProtocol, IInternetProtocol, IInternetProtocolRoot, IClassFactory> {
public:
    explicit COskanProtocol(HWND window) : m_window(window) {}

    // IInternetProtocolRoot
    STDMETHODIMP Start(LPCWSTR url, IInternetProtocolSink* sink, IInternetBindInfo* bindInfo, DWORD flags,
                       HANDLE_PTR reserved) override;
    STDMETHODIMP Continue(PROTOCOLDATA*) override { return S_OK; }
    // The whole entry is delivered within Start, so nothing is pending to abort.
    STDMETHODIMP Abort(HRESULT, DWORD) override { return E_NOTIMPL; }
    // The sink holds the binding, which holds this object. The data stay: under
    // LockRequest the browser may still Read after this.
    STDMETHODIMP Terminate(DWORD) override
    {
        m_sink.Reset();
        return S_OK;
    }
    STDMETHODIMP Suspend() override { return E_NOTIMPL; }
    STDMETHODIMP Resume() override { return E_NOTIMPL; }
    // IInternetProtocol
    STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override;
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP LockRequest(DWORD) override { return S_OK; }
    STDMETHODIMP UnlockRequest() override { return S_OK; }
    // IClassFactory: the outer object is ignored, the new object serves alone.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    // The data-file path the main window gives for the key; empty (and logged) when it
    // gives none or the key is longer than the request can carry.
    std::wstring GetDocumentFileName(const std::wstring& key) const;

private:
    struct CFreeBlock {
        void operator()(BYTE* block) const { free(block); }
    };

    // The entry's bytes into m_block; the entry name then is the one served.
    BOOL ReadEntry(const std::wstring& path, const std::wstring& entryPath, std::wstring& entryName);
    // One extraction of the cache, its block kept to be served as it came.
    template <class Extract>
    BOOL TakeBlock(Extract extract);
    HRESULT Report(const wchar_t* url, const std::wstring& entryName);
    // Start's work: the entry read and reported to the sink.
    HRESULT Fetch(LPCWSTR url, IInternetProtocolSink* sink);

    Microsoft::WRL::ComPtr<IInternetProtocolSink> m_sink;
    // What Read hands out: the cache's block, or the page converted to UTF-8.
    std::unique_ptr<BYTE, CFreeBlock> m_block;
    std::vector<BYTE> m_converted;
    const BYTE* m_data = nullptr;
    ULONG m_size = 0;
    BOOL m_hasData = FALSE;
    ULONG m_position = 0;
    HWND m_window = nullptr;
};

// The "Content Type" of the extension's class key, read once per extension; empty
// when there is none.
std::wstring GetEntryMimeType(const std::wstring& entryName);

// The scheme's registration for this process: the session and the factory in it.
class COskanProtocolRegistration {
public:
    COskanProtocolRegistration() = default;
    COskanProtocolRegistration(const COskanProtocolRegistration&) = delete;
    COskanProtocolRegistration& operator=(const COskanProtocolRegistration&) = delete;
    ~COskanProtocolRegistration();

    IInternetSession* GetSession() const { return m_session.Get(); }

private:
    friend BOOL RegisterOskanProtocol(HWND window, COskanProtocolRegistration& registration);
    friend void UnregisterOskanProtocol(COskanProtocolRegistration& registration);

    Microsoft::WRL::ComPtr<IInternetSession> m_session;
    Microsoft::WRL::ComPtr<IClassFactory> m_factory;
    // Never started. Wine's urlmon destroys its thread's notification window when the
    // thread's last binding goes and makes it again for the next one, some eighty server
    // requests a read; this binding keeps the window while the scheme is registered.
    // On Windows it is only an idle object.
    Microsoft::WRL::ComPtr<IInternetProtocol> m_idleBinding;
};

// Registers oskan:// for this process, its paths asked of the window; nothing is
// written to the registry. FALSE (nothing kept) on failure.
BOOL RegisterOskanProtocol(HWND window, COskanProtocolRegistration& registration);
// Removes the registration; nothing happens without one.
void UnregisterOskanProtocol(COskanProtocolRegistration& registration);
