#pragma once
// Owner of one VARIANT: cleared when it goes, moves but never copies.
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

#include "framework/Bstr.h"

class CVariant {
public:
    CVariant() noexcept { ::VariantInit(&m_var); }

    explicit CVariant(const wchar_t* text) : CVariant(std::wstring(text ? text : L"")) {}
    explicit CVariant(const std::wstring& text) : CVariant()
    {
        m_var.bstrVal = CBstr(text).Detach();
        m_var.vt = VT_BSTR;
    }

    // VT_I4, the type COM interfaces take for enumerations and node types.
    explicit CVariant(LONG value) noexcept : CVariant()
    {
        m_var.vt = VT_I4;
        m_var.lVal = value;
    }

    CVariant(CVariant&& other) noexcept : m_var(std::exchange(other.m_var, VARIANT{})) {}
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    ~CVariant() { ::VariantClear(&m_var); }

    // By value for calls that take a VARIANT in: the callee only reads it.
    const VARIANT& Get() const noexcept { return m_var; }
    VARTYPE Type() const noexcept { return m_var.vt; }

    // For out-parameters: the old value is cleared first.
    VARIANT* Receive() noexcept
    {
        ::VariantClear(&m_var);
        ::VariantInit(&m_var);
        return &m_var;
    }

    // The text of a VT_BSTR value; false for any other type (no coercion).
    bool GetString(std::wstring& text) const
    {
        if (m_var.vt != VT_BSTR)
            return false;
        text = m_var.bstrVal ? std::wstring(m_var.bstrVal, ::SysStringLen(m_var.bstrVal)) : std::wstring();
        return true;
    }

private:
    VARIANT m_var;
};
