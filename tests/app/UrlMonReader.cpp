#include "UrlMonReader.h"

#include <urlmon.h>
#include <wrl/client.h>

#include "common/MessagePump.h"
#include "framework/ComObject.h"

using Microsoft::WRL::ComPtr;

namespace {

class CBindCallback final : public CComObjectBase<CBindCallback, IBindStatusCallback> {
public:
    explicit CBindCallback(CUrlMonRead& read) : m_read(read) {}

    BOOL stopped = FALSE;

    STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    STDMETHODIMP GetPriority(LONG* priority) override
    {
        *priority = THREAD_PRIORITY_NORMAL;
        return S_OK;
    }
    STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
    STDMETHODIMP OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR) override
    {
        Drain();
        m_read.result = result;
        stopped = TRUE;
        m_stream.Reset();
        return S_OK;
    }
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override
    {
        *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA;
        const ULONG size = info->cbSize;
        ZeroMemory(info, size);
        info->cbSize = size;
        info->dwBindVerb = BINDVERB_GET;
        return S_OK;
    }
    STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium) override
    {
        if (!m_stream && medium && medium->tymed == TYMED_ISTREAM)
            m_stream = medium->pstm;
        Drain();
        return S_OK;
    }
    STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    // Pulls what the stream holds now; E_PENDING means more comes later.
    void Drain()
    {
        char buffer[65536];
        ULONG count = 0;
        while (m_stream && SUCCEEDED(m_stream->Read(buffer, sizeof buffer, &count)) && count > 0)
            m_read.bytes.append(buffer, count);
    }

    CUrlMonRead& m_read;
    ComPtr<IStream> m_stream;
};

}  // namespace

BOOL ReadThroughUrlMon(const wchar_t* url, CUrlMonRead& read)
{
    read = CUrlMonRead();
    ComPtr<IMoniker> moniker;
    ComPtr<IBindCtx> context;
    const ComPtr<CBindCallback> callback = CBindCallback::Create(read);
    if (!callback || FAILED(::CreateURLMonikerEx(nullptr, url, &moniker, URL_MK_UNIFORM)) ||
        FAILED(::CreateBindCtx(0, &context)) ||
        FAILED(::RegisterBindStatusCallback(context.Get(), callback.Get(), nullptr, 0)))
        return FALSE;
    ComPtr<IStream> stream;
    const HRESULT started = moniker->BindToStorage(context.Get(), nullptr, IID_PPV_ARGS(&stream));
    if (FAILED(started) && !callback->stopped)
        read.result = started;
    if (SUCCEEDED(started))
        PumpMessagesUntil([&] { return callback->stopped; });
    ::RevokeBindStatusCallback(context.Get(), callback.Get());
    return callback->stopped || FAILED(started);
}
