#pragma once
// A table of user-interface translations: English source text to translated
// text. Both sides are kept escaped (backslash escapes for line breaks and
// tabs, doubled quotes) as they stand in the table text.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class CQelTranslationsStringTable {
public:
    CQelTranslationsStringTable() = default;
    CQelTranslationsStringTable(const CQelTranslationsStringTable&) = default;
    CQelTranslationsStringTable& operator=(const CQelTranslationsStringTable&) = default;
    virtual ~CQelTranslationsStringTable() = default;

    // Lines of the form "source=translation"; blank lines, lines starting with
    // ";" and lines without "=" are skipped; a later source text wins.
    bool LoadFromText(const std::wstring& text);
    bool LoadFromLines(const std::vector<std::wstring>& lines);
    bool LoadFromFile(const wchar_t* path);
    void Clear() { table_.clear(); }
    bool IsEmpty() const { return table_.empty(); }

    // `out` is the translation, or the source itself when there is none.
    bool Translate(const wchar_t* source, std::wstring& out) const;
    bool TranslateStringResource(UINT id, std::wstring& out) const;

    void TranslateWindow(HWND window) const;
    bool TranslateWindowText(HWND window) const;
    void TranslateMenu(HMENU menu) const;
    void TranslatePropertySheet(HWND page) const;

    static void EscapeText(std::wstring& text);
    static void UnescapeText(std::wstring& text);

private:
    std::map<std::wstring, std::wstring> table_;
};
