#include "foundation/TranslationTable.h"

#include <commctrl.h>
#include <prsht.h>

#include "foundation/Strings.h"
#include "foundation/TextFiles.h"

namespace {

// Menu texts go through a buffer of this many characters, terminator included.
constexpr int kMenuTextCapacity = 260;

BOOL CALLBACK TranslateChild(HWND child, LPARAM param)
{
    const auto* table = reinterpret_cast<const CQelTranslationsStringTable*>(param);
    if (!table)
        return FALSE;
    // The enumeration already reaches every descendant: translate this window
    // alone, or deeper windows would be visited again for each ancestor.
    table->TranslateWindowText(child);
    return TRUE;
}

} // namespace

bool CQelTranslationsStringTable::LoadFromText(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    QelSplitText(text, L'\n', lines);
    return LoadFromLines(lines);
}

bool CQelTranslationsStringTable::LoadFromLines(const std::vector<std::wstring>& lines)
{
    for (const std::wstring& raw : lines) {
        const std::wstring line = QelTrimSpaces(raw);
        if (line.empty() || line[0] == L';')
            continue;
        const std::wstring::size_type equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        table_[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return true;
}

bool CQelTranslationsStringTable::LoadFromFile(const wchar_t* path)
{
    std::vector<std::wstring> lines;
    if (!QelLoadTextLines(path, lines))
        return false;
    return LoadFromLines(lines);
}

bool CQelTranslationsStringTable::Translate(const wchar_t* source, std::wstring& out) const
{
    out = source ? source : L"";
    if (out.empty())
        return false;
    std::wstring key = out;
    EscapeText(key);
    const auto found = table_.find(key);
    if (found == table_.end())
        return false;
    std::wstring translation = found->second;
    UnescapeText(translation);
    if (translation.empty())
        return false;
    out = translation;
    return true;
}

bool CQelTranslationsStringTable::TranslateStringResource(UINT id, std::wstring& out) const
{
    out.clear();
    const wchar_t* text = nullptr;
    // A zero length asks for a pointer into the resource itself.
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return false;
    Translate(std::wstring(text, static_cast<size_t>(length)).c_str(), out);
    return true;
}

bool CQelTranslationsStringTable::TranslateWindowText(HWND window) const
{
    wchar_t className[MAX_PATH] = {};
    GetClassNameW(window, className, MAX_PATH);
    if (lstrcmpiW(className, L"Edit") == 0 || lstrcmpiW(className, L"ComboBox") == 0)
        return false;
    wchar_t text[1024] = {};
    if (GetWindowTextW(window, text, 1024) <= 0)
        return false;
    std::wstring translation;
    if (!Translate(text, translation))
        return false;
    return SetWindowTextW(window, translation.c_str()) != FALSE;
}

void CQelTranslationsStringTable::TranslateWindow(HWND window) const
{
    TranslateWindowText(window);
    EnumChildWindows(window, TranslateChild, reinterpret_cast<LPARAM>(this));
}

void CQelTranslationsStringTable::TranslateMenu(HMENU menu) const
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t buffer[kMenuTextCapacity] = {};
        std::wstring translation;
        if (GetMenuStringW(menu, position, buffer, kMenuTextCapacity, MF_BYPOSITION) > 0 &&
            Translate(buffer, translation)) {
            // A translation too long for the buffer is cut, never split
            // inside a surrogate pair.
            size_t length = translation.size();
            if (length > kMenuTextCapacity - 1) {
                length = kMenuTextCapacity - 1;
                if (IS_HIGH_SURROGATE(translation[length - 1]))
                    --length;
            }
            translation.copy(buffer, length);
            buffer[length] = L'\0';
            MENUITEMINFOW info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STRING;
            info.dwTypeData = buffer;
            info.cch = kMenuTextCapacity;
            SetMenuItemInfoW(menu, position, TRUE, &info);
        }
        if (HMENU subMenu = GetSubMenu(menu, position))
            TranslateMenu(subMenu);
    }
}

void CQelTranslationsStringTable::TranslatePropertySheet(HWND page) const
{
    TranslateWindow(page);
    const HWND sheet = GetParent(page);
    if (!sheet)
        return;
    const HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    if (tabs && IsWindow(tabs)) {
        const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH] = {};
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            if (!SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)))
                continue;
            std::wstring translation;
            if (Translate(text, translation)) {
                item.mask = TCIF_TEXT;
                item.pszText = &translation[0];
                SendMessageW(tabs, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
        }
    }
    TranslateWindowText(sheet);
}

void CQelTranslationsStringTable::EscapeText(std::wstring& text)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'\\': escaped += L"\\\\"; break;
        case L'\r': escaped += L"\\r"; break;
        case L'\n': escaped += L"\\n"; break;
        case L'\t': escaped += L"\\t"; break;
        case L'"': escaped += L"\"\""; break;
        default: escaped += c; break;
        }
    }
    text.swap(escaped);
}

void CQelTranslationsStringTable::UnescapeText(std::wstring& text)
{
    if (text.size() < 2)
        return;
    std::wstring plain;
    plain.reserve(text.size());
    size_t i = 0;
    while (i + 1 < text.size()) {
        const wchar_t c = text[i];
        const wchar_t next = text[i + 1];
        if (c == L'\\') {
            switch (next) {
            case L'\\': plain += L'\\'; break;
            case L'r': plain += L'\r'; break;
            case L'n': plain += L'\n'; break;
            case L't': plain += L'\t'; break;
            default: plain += c; plain += next; break;
            }
            i += 2;
        } else if (c == L'"' && next == L'"') {
            plain += L'"';
            i += 2;
        } else {
            plain += c;
            ++i;
        }
    }
    if (i < text.size())
        plain += text[i];
    text.swap(plain);
}
