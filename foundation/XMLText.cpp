#include "foundation/XMLText.h"

namespace {

// XML's own white space only: a no-break or ideographic space at the edge of a
// value is content, which a general trim would cut away on every save.
bool IsXmlSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring TrimXmlSpace(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsXmlSpace(text[first]))
        ++first;
    while (last > first && IsXmlSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Pass 1: trims every run between a '>' and the next '<'.
BOOL TrimTextRuns(std::wstring& text)
{
    constexpr size_t unset = static_cast<size_t>(-1);
    size_t start = unset;
    size_t end = unset;
    for (size_t i = 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'>')
            start = i + 1;
        else if (c == L'<')
            end = i - 1;
        if (start == unset || end == unset || end < start)
            continue;
        const std::wstring run = text.substr(start, end - start + 1);
        if (!run.empty()) {
            if (run.find_first_of(L"<>") != std::wstring::npos)
                return FALSE;
            const std::wstring trimmed = TrimXmlSpace(run);
            if (trimmed != run) {
                text.replace(start, run.size(), trimmed);
                i = start + trimmed.size();
            }
        }
        start = unset;
        end = unset;
    }
    return TRUE;
}

// Pass 2: line breaks and TABs.
void LayOut(std::wstring& text)
{
    if (text.empty())
        return;
    std::wstring indent(1, L'\t');
    std::wstring out(1, text[0]);
    out.reserve(text.size() * 2);
    for (size_t i = 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const wchar_t p = text[i - 1];
        const wchar_t n = i + 1 < text.size() ? text[i + 1] : L'\0';
        const bool selfClosingEnd = c == L'>' && p == L'/';
        const bool closingTagStart = c == L'<' && n == L'/';
        if (!selfClosingEnd && !closingTagStart) {
            if (c == L'<') {
                out += L'\n';
                out += indent;
                indent += L'\t';
            }
        } else {
            if (!indent.empty())
                indent.pop_back();
            if (closingTagStart) {
                bool lineBreak = i >= 2 && text[i - 2] == L'/' && text[i - 1] == L'>';
                if (!lineBreak) {
                    const size_t lastTag = out.rfind(L'<');
                    lineBreak = lastTag != std::wstring::npos && lastTag + 1 < out.size() && out[lastTag + 1] == L'/';
                }
                if (lineBreak) {
                    out += L'\n';
                    out += indent;
                }
            }
        }
        out += c;
    }
    text.swap(out);
}

bool IsNameStartChar(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD);
}

bool IsNameChar(wchar_t c)
{
    return IsNameStartChar(c) || c == L'-' || c == L'.' || (c >= L'0' && c <= L'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

BOOL QelIndentXMLText(std::wstring& text)
{
    if (text.size() > QEL_XML_LAYOUT_LIMIT)
        return TRUE;
    if (!TrimTextRuns(text))
        return FALSE;
    LayOut(text);
    return TRUE;
}

BOOL QelIsXMLName(const wchar_t* name)
{
    if (!name || !*name)
        return FALSE;
    for (const wchar_t* p = name; *p; ++p) {
        if (IsHighSurrogate(*p)) {
            // Planes 1 to 14 are name characters anywhere; plane 15 and 16 are not.
            if (!IsLowSurrogate(p[1]) || *p > 0xDB7F)
                return FALSE;
            ++p;
            continue;
        }
        if (IsLowSurrogate(*p))
            return FALSE;
        if (!(p == name ? IsNameStartChar(*p) : IsNameChar(*p)))
            return FALSE;
    }
    return TRUE;
}

void QelRemoveXMLDeclEncoding(std::wstring& text)
{
    size_t begin = 0;
    if (!text.empty() && text[0] == 0xFEFF)
        begin = 1;
    if (text.compare(begin, 5, L"<?xml") != 0 || begin + 5 >= text.size() || !IsXmlSpace(text[begin + 5]))
        return;
    const size_t declEnd = text.find(L"?>", begin);
    if (declEnd == std::wstring::npos)
        return;
    size_t pos = begin + 5;
    while ((pos = text.find(L"encoding", pos)) != std::wstring::npos && pos < declEnd) {
        size_t from = pos;
        while (from > begin && IsXmlSpace(text[from - 1]))
            --from;
        size_t p = pos + 8;
        if (from == pos) {  // part of another word
            pos = p;
            continue;
        }
        while (p < declEnd && IsXmlSpace(text[p]))
            ++p;
        if (p >= declEnd || text[p] != L'=') {
            pos = p;
            continue;
        }
        ++p;
        while (p < declEnd && IsXmlSpace(text[p]))
            ++p;
        if (p >= declEnd || (text[p] != L'"' && text[p] != L'\''))
            return;
        const size_t close = text.find(text[p], p + 1);
        if (close == std::wstring::npos || close >= declEnd)
            return;
        text.erase(from, close + 1 - from);
        return;
    }
}
