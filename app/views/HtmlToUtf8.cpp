#include "app/views/HtmlToUtf8.h"

#include <algorithm>
#include <cctype>

namespace {

size_t FindNoCase(const std::string& text, const char* what, size_t from = 0)
{
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    const std::string needle(what);
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                                needle.begin(), needle.end(), [&](char a, char b) { return lower(a) == lower(b); });
    return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

BOOL DeclaresCharset(const std::string& tag)
{
    return FindNoCase(tag, "http-equiv") != std::string::npos && FindNoCase(tag, "content-type") != std::string::npos &&
           FindNoCase(tag, "charset") != std::string::npos;
}

}  // namespace

std::wstring EntryExtension(const std::wstring& entryName)
{
    const size_t slash = entryName.find_last_of(L"/\\");
    const size_t dot = entryName.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return std::wstring();
    return entryName.substr(dot);
}

void FixHtmlCharsetMeta(std::string& text)
{
    for (size_t meta = FindNoCase(text, "<meta"); meta != std::string::npos;) {
        const size_t close = text.find('>', meta);
        if (close == std::string::npos)
            break;
        if (DeclaresCharset(text.substr(meta, close + 1 - meta))) {
            text.erase(meta, close + 1 - meta);
            break;
        }
        meta = FindNoCase(text, "<meta", close);
    }
    size_t at = 0;
    const size_t head = FindNoCase(text, "<head");
    if (head != std::string::npos) {
        const size_t close = text.find('>', head);
        if (close != std::string::npos)
            at = close + 1;
    }
    text.insert(at, kUtf8CharsetMeta);
}

BOOL ConvertHtmlToUtf8(const std::wstring& entryName, const BYTE* data, size_t size, std::vector<BYTE>& converted)
{
    std::wstring extension = EntryExtension(entryName);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    const BOOL page = extension == L".htm" || extension == L".html";
    if (!page && extension != L".css" && extension != L".txt")
        return FALSE;
    if (!data || size == 0 || size % 2 != 0 || data[0] != 0xFF || data[1] != 0xFE)
        return FALSE;
    const auto* wide = reinterpret_cast<const wchar_t*>(data + 2);
    const int count = static_cast<int>((size - 2) / 2);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide, count, &text[0], length, nullptr, nullptr);
    // In a style sheet or a text the element would be read as a rule or as text.
    if (page)
        FixHtmlCharsetMeta(text);
    static const BYTE mark[] = {0xEF, 0xBB, 0xBF};
    converted.assign(mark, mark + 3);
    converted.reserve(text.size() + 4);
    converted.insert(converted.end(), text.begin(), text.end());
    converted.push_back(0);
    return TRUE;
}
