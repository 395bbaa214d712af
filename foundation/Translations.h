#pragma once
// The program-wide translation table: chosen and loaded once at start-up,
// read afterwards by every code that shows a user-interface text.

#include <windows.h>

#include <string>

#include "foundation/TranslationTable.h"

class CQelTranslations {
public:
    CQelTranslations() = default;
    CQelTranslations(const CQelTranslations&) = delete;
    CQelTranslations& operator=(const CQelTranslations&) = delete;
    virtual ~CQelTranslations() = default;

    // Replaces the whole table.
    bool LoadFromText(const std::wstring& text);

    const CQelTranslationsStringTable& GetTable() const { return table_; }

private:
    CQelTranslationsStringTable table_;
};

// The single table every function below works on.
CQelTranslations& QelGetTranslations();

// Start-up: the language of the product from the registry (else the user's
// default), then the table resource of that language. FALSE leaves English.
bool QelLoadTranslations(const wchar_t* product, const wchar_t* resourceType);
LCID QelGetTranslationsLanguage(const wchar_t* product);
LCID QelMapTranslationsLanguage(LCID lcid);
bool QelLoadTranslationsResource(const wchar_t* resourceType, WORD languageId);
std::wstring QelGetTranslationsProductName();

// Each gives back the English text where the table has no translation.
std::wstring QelTranslateStringResource(UINT id);
std::wstring QelTranslateText(const wchar_t* text);
void QelTranslateWindow(HWND window);
void QelTranslateMenu(HMENU menu);
