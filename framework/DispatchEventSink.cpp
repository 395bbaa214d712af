#include "framework/DispatchEventSink.h"

#include "framework/ComObject.h"
#include "framework/Variant.h"

using Microsoft::WRL::ComPtr;

class CDispatchEventSink::CForwarder : public CComObjectBase<CForwarder, IDispatch> {
public:
    CForwarder(CDispatchEventSink* owner, REFIID events) : m_owner(owner), m_events(events) {}
    void Forget() { m_owner = nullptr; }

    // The connection point asks for the events interface itself, which only IDispatch implements.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        return CComObjectBase::QueryInterface(iid == m_events ? __uuidof(IDispatch) : iid, out);
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return SetOut(count, 0u, S_OK); }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        DISPPARAMS none{};
        try {
            if (m_owner)
                m_owner->OnDispatchEvent(id, params ? *params : none);
        } catch (...) {
            return DISP_E_EXCEPTION;  // never through the control's own code
        }
        return S_OK;
    }

private:
    CDispatchEventSink* m_owner;
    IID m_events;
};

CDispatchEventSink::CDispatchEventSink() = default;
CDispatchEventSink::~CDispatchEventSink() { Unadvise(); }

HRESULT CDispatchEventSink::Advise(IUnknown* source, REFIID events)
{
    if (!source)
        return E_POINTER;
    if (m_cookie)
        return E_UNEXPECTED;
    ComPtr<IConnectionPointContainer> container;
    HRESULT result = source->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(result))
        result = container->FindConnectionPoint(events, &m_point);
    if (SUCCEEDED(result)) {
        m_forwarder = CForwarder::Create(this, events);
        result = m_forwarder ? m_point->Advise(static_cast<IDispatch*>(m_forwarder.Get()), &m_cookie) : E_OUTOFMEMORY;
    }
    if (FAILED(result)) {
        m_cookie = 0;  // whatever a refused Advise wrote is no cookie
        Unadvise();
    }
    return result;
}

void CDispatchEventSink::Unadvise()
{
    if (m_forwarder)
        m_forwarder->Forget();
    if (m_point && m_cookie)
        m_point->Unadvise(m_cookie);
    m_cookie = 0;
    m_point.Reset();
    m_forwarder.Reset();
}

static VARIANT* FollowArgument(const DISPPARAMS& params, UINT index, BOOL* byReference = nullptr)
{
    if (!params.rgvarg || index >= params.cArgs)
        return nullptr;
    VARIANT* const held = &params.rgvarg[params.cArgs - 1 - index];
    VARIANT* value = held;
    while (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal)
        value = value->pvarVal;
    if (byReference)
        *byReference = value != held;
    return value;
}

const VARIANT* EventArgument(const DISPPARAMS& params, UINT index)
{
    return FollowArgument(params, index);
}

// The readers copy the argument by value, whether it is held or referred to.
BOOL EventString(const DISPPARAMS& params, UINT index, std::wstring& text)
{
    VARIANT* argument = FollowArgument(params, index);
    CVariant copy;
    return argument && SUCCEEDED(::VariantCopyInd(copy.Receive(), argument)) && copy.GetString(text);
}

BOOL EventLong(const DISPPARAMS& params, UINT index, LONG& value)
{
    VARIANT* argument = FollowArgument(params, index);
    CVariant converted;
    if (!argument || FAILED(::VariantChangeType(converted.Receive(), argument, 0, VT_I4)))
        return FALSE;
    value = converted.Get().lVal;
    return TRUE;
}

BOOL EventBytes(const DISPPARAMS& params, UINT index, std::vector<BYTE>& bytes)
{
    VARIANT* argument = FollowArgument(params, index);
    CVariant copy;
    if (!argument || FAILED(::VariantCopyInd(copy.Receive(), argument)) || copy.Type() != (VT_ARRAY | VT_UI1))
        return FALSE;
    const SAFEARRAY* array = copy.Get().parray;
    if (!array || array->cDims != 1 || array->cbElements != 1)
        return FALSE;
    const auto* data = static_cast<const BYTE*>(array->pvData);  // a copy nobody else has locked
    bytes.assign(data, data + array->rgsabound[0].cElements);
    return TRUE;
}

BOOL SetEventBool(const DISPPARAMS& params, UINT index, BOOL value)
{
    BOOL byReference = FALSE;
    VARIANT* argument = FollowArgument(params, index, &byReference);
    VARIANT_BOOL* flag = nullptr;
    if (argument && argument->vt == (VT_BYREF | VT_BOOL))
        flag = argument->pboolVal;
    else if (argument && argument->vt == VT_BOOL && byReference)
        flag = &argument->boolVal;
    if (flag)
        *flag = value ? VARIANT_TRUE : VARIANT_FALSE;
    return flag != nullptr;
}

BOOL SetEventDispatch(const DISPPARAMS& params, UINT index, IDispatch* dispatch)
{
    VARIANT* argument = FollowArgument(params, index);
    if (!argument || argument->vt != (VT_BYREF | VT_DISPATCH) || !argument->ppdispVal)
        return FALSE;
    if (dispatch)
        dispatch->AddRef();
    if (IDispatch* old = *argument->ppdispVal)
        old->Release();
    *argument->ppdispVal = dispatch;
    return TRUE;
}
