#include "foundation/Translations.h"

#include "foundation/Folders.h"
#include "foundation/Registry.h"
#include "foundation/TextFiles.h"

namespace {

const wchar_t kLanguageKey[] = L"Software\\Telvane\\QelTranslations";

} // namespace

bool CQelTranslations::LoadFromText(const std::wstring& text)
{
    table_.Clear();
    return table_.LoadFromText(text);
}

CQelTranslations& QelGetTranslations()
{
    // Built on first use, so that no other static initialiser finds it unmade.
    static CQelTranslations translations;
    return translations;
}

std::wstring QelGetTranslationsProductName()
{
    static const std::wstring name = [] {
        const std::wstring ini = QelGetExeFolder() + L"translations.ini";
        wchar_t buffer[MAX_PATH] = {};
        GetPrivateProfileStringW(L"Common", L"ProductName", L"", buffer, MAX_PATH, ini.c_str());
        return buffer[0] ? std::wstring(buffer) : std::wstring(L"Fennora");
    }();
    return name;
}

LCID QelMapTranslationsLanguage(LCID lcid)
{
    static const LCID pairs[][2] = {
        {0x0C04, 0x0404}, {0x0404, 0x0404}, {0x1404, 0x0404},
        {0x0804, 0x0804}, {0x1004, 0x0804}, {0, 0},
    };
    for (const auto& pair : pairs) {
        if (pair[0] == 0)
            break;
        if (pair[0] == lcid)
            return pair[1];
    }
    return lcid;
}

LCID QelGetTranslationsLanguage(const wchar_t* product)
{
    const std::wstring name =
        product && *product ? std::wstring(product) : QelGetTranslationsProductName();
    LCID lcid = QelRegReadDword(HKEY_CURRENT_USER, kLanguageKey, name.c_str(), 0);
    if (lcid == 0)
        lcid = GetUserDefaultLCID();
    return QelMapTranslationsLanguage(lcid);
}

bool QelLoadTranslationsResource(const wchar_t* resourceType, WORD languageId)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(languageId), resourceType);
    if (!resource)
        return false;
    const DWORD size = SizeofResource(module, resource);
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return false;
    std::wstring text;
    if (!QelLoadTextFromBuffer(bytes, size, text, 0, 0, nullptr))
        return false;
    return QelGetTranslations().LoadFromText(text);
}

bool QelLoadTranslations(const wchar_t* product, const wchar_t* resourceType)
{
    const LCID language = QelGetTranslationsLanguage(product);
    if (language == 0)
        return false;
    return QelLoadTranslationsResource(resourceType, LOWORD(language));
}

std::wstring QelTranslateStringResource(UINT id)
{
    std::wstring out;
    QelGetTranslations().GetTable().TranslateStringResource(id, out);
    return out;
}

std::wstring QelTranslateText(const wchar_t* text)
{
    std::wstring out;
    QelGetTranslations().GetTable().Translate(text, out);
    return out;
}

void QelTranslateWindow(HWND window)
{
    QelGetTranslations().GetTable().TranslateWindow(window);
}

void QelTranslateMenu(HMENU menu)
{
    QelGetTranslations().GetTable().TranslateMenu(menu);
}
