#include "foundation/Strings.h"

#include <objbase.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

bool IsEmpty(const wchar_t* s) { return !s || !*s; }
bool IsEmpty(const char* s) { return !s || !*s; }

int IndexOf(const wchar_t* text, const wchar_t* found) { return found ? static_cast<int>(found - text) : -1; }
int IndexOf(const char* text, const char* found) { return found ? static_cast<int>(found - text) : -1; }

bool LessNoCase(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; }

}  // namespace

const wchar_t* QelStrStrI(const wchar_t* text, const wchar_t* find)
{
    if (!text || IsEmpty(find))
        return nullptr;
    return StrStrIW(text, find);
}

const char* QelStrStrIA(const char* text, const char* find)
{
    if (!text || IsEmpty(find))
        return nullptr;
    return StrStrIA(text, find);
}

const wchar_t* QelStrRStrI(const wchar_t* text, const wchar_t* find)
{
    if (!text || IsEmpty(find))
        return nullptr;
    return StrRStrIW(text, nullptr, find);
}

const char* QelStrRStrIA(const char* text, const char* find)
{
    if (!text || IsEmpty(find))
        return nullptr;
    return StrRStrIA(text, nullptr, find);
}

namespace {

// The index in the whole text of what `search` finds in the part from `start` on.
template <typename Char>
int FindFrom(const Char* text, const Char* find, int start, const Char* (*search)(const Char*, const Char*))
{
    if (!text)
        return -1;
    start = std::max(start, 0);
    if (static_cast<size_t>(start) > std::char_traits<Char>::length(text))
        return -1;
    return IndexOf(text, search(text + start, find));
}

}  // namespace

int QelFindNoCase(const wchar_t* text, const wchar_t* find, int start)
{
    return FindFrom(text, find, start, QelStrStrI);
}

int QelFindNoCaseA(const char* text, const char* find, int start)
{
    return FindFrom(text, find, start, QelStrStrIA);
}

int QelReverseFindNoCase(const wchar_t* text, const wchar_t* find, int start)
{
    return FindFrom(text, find, start, QelStrRStrI);
}

int QelReverseFindNoCaseA(const char* text, const char* find, int start)
{
    return FindFrom(text, find, start, QelStrRStrIA);
}

int QelFindText(const wchar_t* text, const wchar_t* find, BOOL caseSensitive)
{
    if (!text || IsEmpty(find))
        return -1;
    return caseSensitive ? IndexOf(text, wcsstr(text, find)) : QelFindNoCase(text, find, 0);
}

int QelCompareText(const wchar_t* a, const wchar_t* b, BOOL caseSensitive)
{
    return caseSensitive ? wcscmp(a ? a : L"", b ? b : L"") : _wcsicmp(a ? a : L"", b ? b : L"");
}

BOOL QelCharEqualNoCase(wchar_t a, wchar_t b) { return !ChrCmpIW(a, b); }

BOOL QelIsSpace(wchar_t c) { return iswspace(c) ? TRUE : FALSE; }

const wchar_t* QelSkipSpaces(const wchar_t* p)
{
    while (p && *p && QelIsSpace(*p))
        ++p;
    return p;
}

const wchar_t* QelFindInBuffer(const wchar_t* buffer, UINT length, const wchar_t* find)
{
    if (!buffer || IsEmpty(find))
        return nullptr;
    const size_t findLength = wcslen(find);
    if (findLength > length)
        return nullptr;
    for (size_t i = 0; i + findLength <= length; ++i)
        if (!_wcsnicmp(buffer + i, find, findLength))
            return buffer + i;
    return nullptr;
}

BOOL QelContainsAll(const wchar_t* text, const std::vector<std::wstring>& words, BOOL caseSensitive)
{
    for (const auto& word : words)
        if (!word.empty() && QelFindText(text, word.c_str(), caseSensitive) < 0)
            return FALSE;
    return TRUE;
}

int QelReplaceChar(wchar_t* text, wchar_t from, wchar_t to)
{
    int count = 0;
    for (; text && *text; ++text)
        if (*text == from) {
            *text = to;
            ++count;
        }
    return count;
}

std::wstring QelReplaceString(const wchar_t* text, const wchar_t* from, const wchar_t* to)
{
    std::wstring result(text ? text : L"");
    if (IsEmpty(from))
        return result;
    const std::wstring pattern(from), replacement(to ? to : L"");
    for (size_t pos = result.find(pattern); pos != std::wstring::npos;
         pos = result.find(pattern, pos + replacement.size()))
        result.replace(pos, pattern.size(), replacement);
    return result;
}

std::wstring QelReplaceCharCopy(const wchar_t* text, wchar_t from, wchar_t to)
{
    std::wstring result(text ? text : L"");
    std::replace(result.begin(), result.end(), from, to);
    return result;
}

int QelReplaceNoCase(std::wstring& text, const wchar_t* find, const wchar_t* replacement, BOOL all)
{
    if (IsEmpty(find))
        return 0;
    const size_t findLength = wcslen(find);
    const std::wstring with(replacement ? replacement : L"");
    int count = 0;
    for (int pos = QelFindNoCase(text.c_str(), find, 0); pos >= 0;
         pos = QelFindNoCase(text.c_str(), find, pos + static_cast<int>(with.size()))) {
        text.replace(static_cast<size_t>(pos), findLength, with);
        ++count;
        if (!all)
            break;
    }
    return count;
}

void QelRemoveSpaces(std::wstring& text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](wchar_t c) { return QelIsSpace(c); }), text.end());
}

void QelTruncate(std::wstring& text, UINT maxLength)
{
    if (text.size() > maxLength)
        text.resize(maxLength);
}

std::wstring QelSubString(const wchar_t* base, int offset, int count)
{
    std::wstring result;
    if (!base || offset < 0 || count <= 0)
        return result;
    const wchar_t* p = base + offset;
    for (int i = 0; i < count && p[i]; ++i)
        result += p[i];
    return result;
}

void QelBytesToStringA(std::string& out, const BYTE* base, int offset, int length)
{
    out.clear();
    if (!base || offset < 0 || length <= 0)
        return;
    const BYTE* p = base + offset;
    for (int i = 0; i < length && p[i]; ++i)
        out += static_cast<char>(p[i]);
}

BOOL QelRemoveCR(std::wstring& text)
{
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return TRUE;
}

BOOL QelNormalizeCRLF(std::wstring& text)
{
    if (text.find_first_of(L"\r\n") == std::wstring::npos)
        return TRUE;
    QelRemoveCR(text);
    std::wstring result;
    result.reserve(text.size() + text.size() / 8);
    for (wchar_t c : text) {
        if (c == L'\n')
            result += L'\r';
        result += c;
    }
    text.swap(result);
    return TRUE;
}

std::wstring QelTrimSpaces(const std::wstring& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && QelIsSpace(text[begin]))
        ++begin;
    while (end > begin && QelIsSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

namespace {

// Appends the pieces from `pos` on, cut where `find` reports a separator; a
// trailing separator gives no empty last piece, and a split at line feeds
// drops each piece's final CR.
template <typename Find>
void SplitFrom(const std::wstring& text, size_t pos, size_t separatorLength, bool lineSplit, Find find,
               std::vector<std::wstring>& out)
{
    while (pos < text.size()) {
        const size_t found = find(pos);
        std::wstring piece;
        if (found == std::wstring::npos) {
            piece = text.substr(pos);
            pos = text.size();
        } else {
            piece = text.substr(pos, found - pos);
            pos = found + separatorLength;
        }
        if (lineSplit && !piece.empty() && piece.back() == L'\r')
            piece.pop_back();
        out.push_back(std::move(piece));
    }
}

}  // namespace

BOOL QelSplitText(const std::wstring& text, wchar_t separator, std::vector<std::wstring>& out)
{
    const size_t start = (!text.empty() && text[0] == separator) ? 1 : 0;
    SplitFrom(text, start, 1, separator == L'\n', [&](size_t from) { return text.find(separator, from); }, out);
    return TRUE;
}

BOOL QelSplitTextCopy(const wchar_t* text, wchar_t separator, std::vector<std::wstring>& out)
{
    return QelSplitText(text ? text : L"", separator, out);
}

BOOL QelSplitTextByString(std::wstring text, const wchar_t* separator, BOOL caseSensitive,
                          std::vector<std::wstring>& out)
{
    if (text.empty())
        return TRUE;
    if (IsEmpty(separator)) {
        out.push_back(text);
        return TRUE;
    }
    const size_t sepLength = wcslen(separator);
    const bool lineSplit = (sepLength == 1 && *separator == L'\n');
    auto find = [&](size_t from) -> size_t {
        if (caseSensitive)
            return text.find(separator, from);
        const int found = QelFindNoCase(text.c_str(), separator, static_cast<int>(from));
        return found < 0 ? std::wstring::npos : static_cast<size_t>(found);
    };
    const size_t start = (text.size() > sepLength && find(0) == 0) ? sepLength : 0;
    SplitFrom(text, start, sepLength, lineSplit, find, out);
    return TRUE;
}

void QelJoinText(const std::vector<std::wstring>& items, std::wstring& out, const wchar_t* separator)
{
    out.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        if (i && separator)
            out += separator;
        out += items[i];
    }
}

void QelRemoveBlankItems(std::vector<std::wstring>& items)
{
    for (size_t i = items.size(); i-- > 0;)
        if (QelTrimSpaces(items[i]).empty())
            items.erase(items.begin() + static_cast<ptrdiff_t>(i));
}

int QelFindInArray(const std::vector<std::wstring>& items, const wchar_t* text)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (!QelCompareText(items[i].c_str(), text, FALSE))
            return static_cast<int>(i);
    return -1;
}

int QelFindExactInArray(const std::vector<std::wstring>& items, const wchar_t* text)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (!QelCompareText(items[i].c_str(), text, TRUE))
            return static_cast<int>(i);
    return -1;
}

void QelSortArray(std::vector<std::wstring>& items, BOOL ascending)
{
    if (ascending)
        std::stable_sort(items.begin(), items.end(), LessNoCase);
    else
        std::stable_sort(items.begin(), items.end(),
                         [](const std::wstring& a, const std::wstring& b) { return LessNoCase(b, a); });
}

void QelRemoveDuplicates(std::vector<std::wstring>& items)
{
    // Ignoring case, but with equal texts side by side, or "b", "B", "b" would keep both "b".
    std::stable_sort(items.begin(), items.end(), [](const std::wstring& a, const std::wstring& b) {
        const int folded = _wcsicmp(a.c_str(), b.c_str());
        return folded ? folded < 0 : a < b;
    });
    items.erase(std::unique(items.begin(), items.end()), items.end());
}

void QelRemoveDuplicatesNoCase(std::vector<std::wstring>& items)
{
    QelSortArray(items, TRUE);
    items.erase(std::unique(items.begin(), items.end(),
                            [](const std::wstring& a, const std::wstring& b) {
                                return !_wcsicmp(a.c_str(), b.c_str());
                            }),
                items.end());
}

namespace {

int FindNamedItem(const std::vector<std::wstring>& items, const wchar_t* name)
{
    const std::wstring prefix = std::wstring(name ? name : L"") + L"=";
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].size() >= prefix.size() && !_wcsnicmp(items[i].c_str(), prefix.c_str(), prefix.size()))
            return static_cast<int>(i);
    return -1;
}

}  // namespace

BOOL QelGetNamedValue(std::wstring& out, const std::vector<std::wstring>& items, const wchar_t* name)
{
    out.clear();
    const int index = FindNamedItem(items, name);
    if (index < 0)
        return FALSE;
    out = items[static_cast<size_t>(index)].substr(wcslen(name) + 1);
    return TRUE;
}

BOOL QelSetNamedValue(std::vector<std::wstring>& items, const wchar_t* name, const wchar_t* value)
{
    std::wstring item = std::wstring(name ? name : L"") + L"=" + (value ? value : L"");
    const int index = FindNamedItem(items, name);
    if (index < 0)
        items.push_back(std::move(item));
    else
        items[static_cast<size_t>(index)] = std::move(item);
    return TRUE;
}

void QelGetNames(const std::vector<std::wstring>& items, std::vector<std::wstring>& names)
{
    for (const auto& item : items)
        names.push_back(item.substr(0, item.find(L'=')));
}

std::wstring QelCreateGuidText()
{
    GUID guid{};
    wchar_t text[64] = {};
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, 64))
        return std::wstring();
    std::wstring result(text);
    for (auto& c : result)
        c = static_cast<wchar_t>(towupper(c));
    return result;
}

std::wstring QelCreateGuid()
{
    std::wstring text = QelCreateGuidText();
    for (auto& c : text)
        c = static_cast<wchar_t>(towlower(c));
    if (text.size() >= 2 && text.front() == L'{' && text.back() == L'}')
        text = text.substr(1, text.size() - 2);
    return text;
}

BOOL QelIsUrl(const wchar_t* text)
{
    std::wstring url = QelTrimSpaces(text ? text : L"");
    if (url.empty() || url.find_first_of(L"\r\n") != std::wstring::npos)
        return FALSE;
    for (auto& c : url)
        c = static_cast<wchar_t>(towlower(c));
    for (const wchar_t* scheme : {L"http://", L"https://", L"file://"})
        if (url.compare(0, wcslen(scheme), scheme) == 0)
            return TRUE;
    return FALSE;
}
