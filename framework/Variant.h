#pragma once
// Owner of one VARIANT: cleared when it goes, moves but never copies.
#include <windows.h>
#include <oleauto.h>
#include <new>
#include <string>
#include <utility>

class CVariant {
public:
    CVariant() noexcept { ::VariantInit(&m_var); }

    explicit CVariant(const wchar_t* text) : CVariant() { SetString(text ? text : L"", text ? wcslen(text) : 0); }
    explicit CVariant(const std::wstring& text) : CVariant() { SetString(text.data(), text.size()); }

    // VT_I4, the type COM interfaces take for enumerations and node types.
    explicit CVariant(LONG value) noexcept : CVariant()
    {
        m_var.vt = VT_I4;
        m_var.lVal = value;
    }

    CVariant(CVariant&& other) noexcept : CVariant() { Swap(other); }
    CVariant& operator=(CVariant&& other) noexcept
    {
        if (this != &other) {
            Clear();
            Swap(other);
        }
        return *this;
    }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    ~CVariant() { Clear(); }

    // By value for calls that take a VARIANT in: the callee only reads it.
    const VARIANT& Get() const noexcept { return m_var; }
    VARTYPE Type() const noexcept { return m_var.vt; }

    // For out-parameters: the old value is cleared first.
    VARIANT* Receive() noexcept
    {
        Clear();
        return &m_var;
    }

    void Clear() noexcept
    {
        ::VariantClear(&m_var);
        ::VariantInit(&m_var);
    }

    // The text of a VT_BSTR value; false for any other type (no coercion).
    bool GetString(std::wstring& text) const
    {
        if (m_var.vt != VT_BSTR)
            return false;
        text = m_var.bstrVal ? std::wstring(m_var.bstrVal, ::SysStringLen(m_var.bstrVal)) : std::wstring();
        return true;
    }

    void Swap(CVariant& other) noexcept { std::swap(m_var, other.m_var); }

private:
    void SetString(const wchar_t* text, size_t length)
    {
        BSTR str = ::SysAllocStringLen(text, static_cast<UINT>(length));
        if (!str)
            throw std::bad_alloc();
        m_var.vt = VT_BSTR;
        m_var.bstrVal = str;
    }

    VARIANT m_var;
};
