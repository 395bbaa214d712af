#include "app/views/OskanUrl.h"

#include "foundation/Encoding.h"
#include "foundation/MessageFormat.h"
#include "foundation/URL.h"

namespace {

constexpr wchar_t kScheme[] = L"oskan://";
constexpr size_t kSchemeLength = 8;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// FALSE when the bytes are no UTF-8.
BOOL FromUtf8(const std::string& bytes, std::wstring& text)
{
    text.clear();
    if (bytes.empty())
        return TRUE;
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return FALSE;
    text.resize(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                          length);
    return TRUE;
}

// Without its "#fragment" and then one trailing "/".
std::wstring WithoutFragmentAndSlash(const wchar_t* url)
{
    std::wstring text = url ? url : L"";
    text = text.substr(0, text.find(L'#'));
    if (!text.empty() && text.back() == L'/')
        text.pop_back();
    return text;
}

}  // namespace

std::wstring MakeOskanUrl(const wchar_t* subscriptionGuid, const wchar_t* documentGuid)
{
    return QelFormatString2(L"oskan://%1_%2", subscriptionGuid, documentGuid);
}

BOOL SplitOskanUrl(const std::wstring& url, std::wstring& key, std::wstring& entryPath)
{
    if (url.size() < kSchemeLength || _wcsnicmp(url.c_str(), kScheme, kSchemeLength) != 0)
        return FALSE;
    const size_t first = url.find_first_not_of(L'/', kSchemeLength);
    const size_t last = url.find_last_not_of(L'/');
    const std::wstring rest = first == std::wstring::npos ? std::wstring() : url.substr(first, last + 1 - first);
    const size_t end = rest.find_first_of(L"/?#");
    key = rest.substr(0, end);
    entryPath.clear();
    if (end != std::wstring::npos)
        entryPath = rest.substr(rest[end] == L'/' ? end + 1 : end);
    return TRUE;
}

std::wstring DecodeEntryPath(const std::wstring& entryPath)
{
    const std::wstring cut = entryPath.substr(0, entryPath.find_first_of(L"?#"));
    std::string written;
    QelUnicodeToUtf8(cut.c_str(), written);
    std::string bytes;
    for (size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '%' && i + 2 < written.size() && HexValue(written[i + 1]) >= 0 &&
            HexValue(written[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(written[i + 1]) * 16 + HexValue(written[i + 2]));
            i += 2;
        } else {
            bytes += written[i];
        }
    }
    std::wstring decoded;
    return FromUtf8(bytes, decoded) ? decoded : cut;
}

BOOL IsDocumentOwnUrl(const wchar_t* url, const wchar_t* documentUrl)
{
    const CQelURL mine(WithoutFragmentAndSlash(documentUrl).c_str(), 0);
    return mine.IsSameText(WithoutFragmentAndSlash(url).c_str());
}
