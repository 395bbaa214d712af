#pragma once
// COM on the current thread for the lifetime of a scope. Every successful
// CoInitializeEx (S_FALSE included) is balanced by one CoUninitialize; a call
// refused for another threading model is not, so an outer owner keeps COM.
#include <windows.h>
#include <objbase.h>

class CComInitialize {
public:
    explicit CComInitialize(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : m_result(::CoInitializeEx(nullptr, model))
    {
    }
    ~CComInitialize()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    CComInitialize(const CComInitialize&) = delete;
    CComInitialize& operator=(const CComInitialize&) = delete;

private:
    HRESULT m_result;
};
