#pragma once
// The arguments of the WebBrowser's BeforeNavigate2 and NewWindow2 events as the control
// passes them to its sink: DISPPARAMS hold them last first, the out-values by reference.
#include <windows.h>
#include <oaidl.h>

#include <cstring>

#include "framework/ByteArray.h"
#include "framework/Variant.h"

// frame, URL, flags, target, post data, headers, cancel.
class CBeforeNavigate2Arguments {
public:
    CBeforeNavigate2Arguments(IDispatch* frame, const wchar_t* url, const char* postData = "")
        : m_url(url), m_flags(0L), m_target(L""), m_headers(L"")
    {
        MakeByteArray(postData, static_cast<DWORD>(strlen(postData)), m_post);
        const CVariant* values[] = {&m_headers, &m_post, &m_target, &m_flags, &m_url};
        for (int i = 0; i < 5; ++i) {
            m_arguments[i + 1].vt = VT_BYREF | VT_VARIANT;
            m_arguments[i + 1].pvarVal = const_cast<VARIANT*>(&values[i]->Get());
        }
        m_arguments[6].vt = VT_DISPATCH;
        m_arguments[6].pdispVal = frame;
        m_arguments[0].vt = VT_BYREF | VT_BOOL;
        m_arguments[0].pboolVal = &cancel;
    }
    CBeforeNavigate2Arguments(const CBeforeNavigate2Arguments&) = delete;
    CBeforeNavigate2Arguments& operator=(const CBeforeNavigate2Arguments&) = delete;

    VARIANT_BOOL cancel = VARIANT_FALSE;
    DISPPARAMS params{m_arguments, nullptr, 7, 0};

private:
    CVariant m_url;
    CVariant m_flags;
    CVariant m_target;
    CVariant m_post;
    CVariant m_headers;
    VARIANT m_arguments[7]{};
};

// The new window's dispatch, cancel.
class CNewWindow2Arguments {
public:
    CNewWindow2Arguments()
    {
        m_arguments[1].vt = VT_BYREF | VT_DISPATCH;
        m_arguments[1].ppdispVal = &window;
        m_arguments[0].vt = VT_BYREF | VT_BOOL;
        m_arguments[0].pboolVal = &cancel;
    }
    ~CNewWindow2Arguments()
    {
        if (window)
            window->Release();
    }
    CNewWindow2Arguments(const CNewWindow2Arguments&) = delete;
    CNewWindow2Arguments& operator=(const CNewWindow2Arguments&) = delete;

    IDispatch* window = nullptr;
    VARIANT_BOOL cancel = VARIANT_TRUE;
    DISPPARAMS params{m_arguments, nullptr, 2, 0};

private:
    VARIANT m_arguments[2]{};
};
