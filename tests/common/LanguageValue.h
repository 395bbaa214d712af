#pragma once
// A product's language in the registry (HKCU\Software\Telvane\QelTranslations), for the
// lifetime of the scope; the value and the keys it leaves empty are removed afterwards.
#include <windows.h>
#include <shlwapi.h>

#include "foundation/Registry.h"

class LanguageValue {
public:
    static constexpr const wchar_t* kKey = L"Software\\Telvane\\QelTranslations";

    LanguageValue(const wchar_t* product, DWORD lcid) : product_(product)
    {
        QelRegWriteDword(HKEY_CURRENT_USER, kKey, product, lcid);
    }
    ~LanguageValue()
    {
        QelRegDeleteValue(HKEY_CURRENT_USER, kKey, product_);
        SHDeleteEmptyKeyW(HKEY_CURRENT_USER, kKey);
        SHDeleteEmptyKeyW(HKEY_CURRENT_USER, L"Software\\Telvane");
    }
    LanguageValue(const LanguageValue&) = delete;
    LanguageValue& operator=(const LanguageValue&) = delete;

private:
    const wchar_t* product_;
};
