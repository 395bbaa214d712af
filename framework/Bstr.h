#pragma once
// Owner of one BSTR: frees it when it goes, moves but never copies, so a
// string handed out by a COM call is released exactly once.
#include <windows.h>
#include <oleauto.h>
#include <new>
#include <string>
#include <utility>

class CBstr {
public:
    CBstr() noexcept = default;

    // A null text gives a null BSTR, which COM reads as the empty string.
    explicit CBstr(const wchar_t* text) : m_str(text ? Allocate(text, wcslen(text)) : nullptr) {}
    explicit CBstr(const std::wstring& text) : m_str(Allocate(text.data(), text.size())) {}

    CBstr(CBstr&& other) noexcept : m_str(other.Detach()) {}
    CBstr& operator=(CBstr&& other) noexcept
    {
        if (this != &other)
            *Receive() = other.Detach();
        return *this;
    }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;

    ~CBstr() { ::SysFreeString(m_str); }

    BSTR Get() const noexcept { return m_str; }
    bool IsNull() const noexcept { return m_str == nullptr; }
    UINT Length() const noexcept { return ::SysStringLen(m_str); }

    // For out-parameters: what was held is freed first, so a reused owner never leaks it.
    BSTR* Receive() noexcept
    {
        ::SysFreeString(std::exchange(m_str, nullptr));
        return &m_str;
    }

    BSTR Detach() noexcept { return std::exchange(m_str, nullptr); }

    // The whole string, embedded zeros included; empty for a null BSTR.
    std::wstring ToString() const { return m_str ? std::wstring(m_str, ::SysStringLen(m_str)) : std::wstring(); }

private:
    static BSTR Allocate(const wchar_t* text, size_t length)
    {
        BSTR str = ::SysAllocStringLen(text, static_cast<UINT>(length));
        if (!str)
            throw std::bad_alloc();
        return str;
    }

    BSTR m_str = nullptr;
};
