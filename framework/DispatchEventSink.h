#pragma once
// Receives a connectable object's events as dispatch calls: a window that hosts a
// control derives from it too, advises it at the control and handles each event by
// its DISPID in one virtual.
//
//   class CBrowser : public CActiveXHostWindow, public CDispatchEventSink {
//       void OnDispatchEvent(DISPID id, DISPPARAMS& params) override { ... EventString(params, 1, url) ... }
//   };
//   browser.Advise(webBrowser.Get(), DIID_DWebBrowserEvents2);   ...   browser.Unadvise();
//
// The object the control holds is a small forwarder: once unadvised (or destroyed) the
// sink receives nothing more, however long the control keeps its reference.
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

class CDispatchEventSink {
public:
    CDispatchEventSink();
    virtual ~CDispatchEventSink();
    CDispatchEventSink(const CDispatchEventSink&) = delete;
    CDispatchEventSink& operator=(const CDispatchEventSink&) = delete;

    // Advises at source's connection point for the events interface; one source at a time.
    HRESULT Advise(IUnknown* source, REFIID events);
    void Unadvise();

protected:
    virtual void OnDispatchEvent(DISPID id, DISPPARAMS& params) = 0;

private:
    class CForwarder;
    Microsoft::WRL::ComPtr<CForwarder> m_forwarder;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

// Arguments count from 0 in the order the event declares them (DISPPARAMS hold them last
// first); by-reference variants, nested or not, are followed to their value. The readers give
// FALSE (nullptr) for a missing argument or another type; the writers need a by-reference one.
const VARIANT* EventArgument(const DISPPARAMS& params, UINT index);
BOOL EventString(const DISPPARAMS& params, UINT index, std::wstring& text);
BOOL EventLong(const DISPPARAMS& params, UINT index, LONG& value);  // numbers and booleans (VARIANT_TRUE is -1)
BOOL EventBytes(const DISPPARAMS& params, UINT index, std::vector<BYTE>& bytes);  // post data
BOOL SetEventBool(const DISPPARAMS& params, UINT index, BOOL value);              // the cancel flag
// A new window's dispatch, to which the argument then holds a reference of its own.
BOOL SetEventDispatch(const DISPPARAMS& params, UINT index, IDispatch* dispatch);
