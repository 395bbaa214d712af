#include "foundation/Encoding.h"

#include <cstring>
#include <memory>
#include <vector>

#include "foundation/Charsets.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Numbers.h"
#include "foundation/StdioFile.h"

namespace {

struct LibraryFreer
{
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

using ConvertToUnicode = HRESULT(WINAPI*)(LPDWORD, DWORD, LPCSTR, LPINT, LPWSTR, LPINT);
using ConvertToMultiByte = HRESULT(WINAPI*)(LPDWORD, DWORD, LPCWSTR, LPINT, LPSTR, LPINT);

template <typename Function>
Function MlangFunction(const Library& library, const char* name)
{
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)))
                   : nullptr;
}

bool EucJpToUnicode(const std::string& bytes, std::wstring& out)
{
    const Library mlang(LoadLibraryW(L"mlang.dll"));
    const auto convert = MlangFunction<ConvertToUnicode>(mlang, "ConvertINetMultiByteToUnicode");
    if (!convert)
        return false;
    std::vector<wchar_t> buffer(bytes.size() + 1);
    DWORD mode = 0;
    INT sourceCount = static_cast<INT>(bytes.size());
    INT wideCount = static_cast<INT>(buffer.size());
    if (FAILED(convert(&mode, QEL_CP_EUCJP, bytes.c_str(), &sourceCount, buffer.data(), &wideCount)) ||
        wideCount < 0 || wideCount > static_cast<INT>(buffer.size()))
        return false;
    out.assign(buffer.data(), static_cast<size_t>(wideCount));
    return true;
}

bool UnicodeToEucJp(const std::wstring& text, std::string& out)
{
    const Library mlang(LoadLibraryW(L"mlang.dll"));
    const auto convert = MlangFunction<ConvertToMultiByte>(mlang, "ConvertINetUnicodeToMultiByte");
    if (!convert)
        return false;
    DWORD mode = 0;
    INT sourceCount = static_cast<INT>(text.size());
    INT size = 0;
    if (FAILED(convert(&mode, QEL_CP_EUCJP, text.c_str(), &sourceCount, nullptr, &size)) || size < 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    mode = 0;
    sourceCount = static_cast<INT>(text.size());
    INT written = size;
    if (FAILED(convert(&mode, QEL_CP_EUCJP, text.c_str(), &sourceCount, buffer.data(), &written)) || written < 0 ||
        written > size)
        return false;
    out.assign(buffer.data(), static_cast<size_t>(written));
    return true;
}

bool WideToCodePage(UINT codePage, const std::wstring& text, std::string& out)
{
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size < 1)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr) < 1)
        return false;
    out = buffer.data();
    return true;
}

bool CodePageToWide(UINT codePage, const char* bytes, std::wstring& out)
{
    const int size = MultiByteToWideChar(codePage, 0, bytes, -1, nullptr, 0);
    if (size < 1)
        return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1);
    if (MultiByteToWideChar(codePage, 0, bytes, -1, buffer.data(), size) < 1)
        return false;
    out = buffer.data();
    return true;
}

std::string ReadComputerNameAnsi()
{
    std::string name;
    QelUnicodeToAnsi(name, QelGetComputerName().c_str());
    return name;
}

}  // namespace

std::string QelToThreadAnsi(const wchar_t* text)
{
    std::string out;
    if (text && !WideToCodePage(CP_THREAD_ACP, text, out))
        out.clear();
    return out;
}

std::wstring QelFromThreadAnsi(const char* bytes)
{
    std::wstring out;
    if (bytes && !CodePageToWide(CP_THREAD_ACP, bytes, out))
        out.clear();
    return out;
}

void QelUnicodeToMultiByte(std::string& out, UINT codePage, const wchar_t* text)
{
    if (!codePage)
        codePage = GetACP();
    std::wstring copy(text ? text : L"");
    try {
        QelApplySubstitutionTable(codePage, copy);
        const bool converted =
            codePage == QEL_CP_EUCJP ? UnicodeToEucJp(copy, out) : WideToCodePage(codePage, copy, out);
        if (!converted)
            out = QelToThreadAnsi(copy.c_str());
    } catch (...) {
        out = QelToThreadAnsi(copy.c_str());
    }
}

void QelUnicodeToMultiByteByCharset(std::string& out, const wchar_t* charset, const wchar_t* text)
{
    QelUnicodeToMultiByte(out, QelGetCharsetCodePage(charset), text);
}

void QelUnicodeToAnsi(std::string& out, const wchar_t* text) { QelUnicodeToMultiByte(out, GetACP(), text); }

std::string QelGetComputerNameAnsi()
{
    // The key of every data file opened: asking anew cost 0.05-0.2 ms under Wine
    // (the name from the registry through the server, the code page's substitution
    // file looked for on disk). A renamed computer keeps its name until it restarts,
    // and the program's own files do not change under it.
    static const std::string known = ReadComputerNameAnsi();
    return known.empty() ? ReadComputerNameAnsi() : known;
}

void QelMultiByteToUnicode(std::wstring& out, UINT codePage, const std::string& bytes)
{
    std::string copy(bytes.c_str());
    if (copy.size() > 3 && !copy.compare(0, 3, "\xEF\xBB\xBF")) {
        copy.erase(0, 3);
        codePage = CP_UTF8;
    }
    if (!codePage)
        codePage = QelGuessCodePage(copy.c_str());
    try {
        const bool converted =
            codePage == QEL_CP_EUCJP ? EucJpToUnicode(copy, out) : CodePageToWide(codePage, copy.c_str(), out);
        if (!converted)
            out = QelFromThreadAnsi(copy.c_str());
    } catch (...) {
        out = QelFromThreadAnsi(copy.c_str());
    }
}

void QelMultiByteToUnicodeByCharset(std::wstring& out, const wchar_t* charset, const std::string& bytes)
{
    QelMultiByteToUnicode(out, QelGetCharsetCodePage(charset), bytes);
}

BOOL QelUtf8ToUnicode(const char* utf8, std::wstring& out)
{
    out.clear();
    if (!utf8)
        return TRUE;
    try {
        std::vector<wchar_t> buffer(strlen(utf8) + 1);
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer.data(), static_cast<int>(buffer.size()));
        buffer.back() = L'\0';
        out = buffer.data();
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelUnicodeToUtf8(const wchar_t* text, std::string& out)
{
    out.clear();
    if (!text)
        return TRUE;
    try {
        std::vector<char> buffer(wcslen(text) * 4 + 4);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer.data(), static_cast<int>(buffer.size()), nullptr, nullptr);
        buffer.back() = '\0';
        out = buffer.data();
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

void QelApplySubstitutionRule(std::wstring& text, const std::wstring& source, const std::wstring& replacement)
{
    if (source.size() != 1 || replacement.empty() || replacement.find(source[0]) != std::wstring::npos)
        return;
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c == source[0])
            result += replacement;
        else
            result += c;
    }
    text.swap(result);
}

void QelApplySubstitutionTable(UINT codePage, std::wstring& text)
{
    const std::wstring path = QelGetExeFolder() + L"strconv\\" + QelIntToStr(static_cast<int>(codePage)) + L".txt";
    if (!QelFileExists(path.c_str()))
        return;
    CQelStdioFile file = QelOpenFile(path.c_str(), L"rb", _SH_DENYNO);
    if (!file)
        return;
    const DWORD size = QelGetFileSize(path.c_str());
    std::vector<wchar_t> table(size / 2 + 1, L'\0');
    const size_t read = fread(table.data(), sizeof(wchar_t), size / 2, file.get());
    table[read] = L'\0';
    if (!read)
        return;
    const std::wstring rules(table.data() + 1);  // after the byte-order mark
    for (size_t start = 0; start < rules.size();) {
        size_t end = rules.find(L'\n', start);
        if (end == std::wstring::npos)
            end = rules.size();
        std::wstring line = rules.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (line.empty())
            break;
        QelApplySubstitutionRule(text, line.substr(0, 1), line.size() > 2 ? line.substr(2) : std::wstring());
        start = end + 1;
    }
}
