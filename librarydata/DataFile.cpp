#include "librarydata/DataFile.h"

#include <cwchar>

#include "foundation/Encoding.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "foundation/Sealing.h"
#include "foundation/Streams.h"
#include "foundation/Strings.h"
#include "librarydata/ZipReader.h"

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

std::wstring Trimmed(const std::wstring& text, const wchar_t* characters)
{
    const size_t first = text.find_first_not_of(characters);
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

} // namespace

COskanDataFile::~COskanDataFile()
{
    // The archive reads the stream's memory: it goes before the stream does.
    Close();
}

BOOL COskanDataFile::Load(const wchar_t* path)
{
    if (m_stream)
        return FALSE;
    const Microsoft::WRL::ComPtr<IStream> stream = QelCreateMemoryStream();
    if (!stream) {
        TessaryWriteLog(L"Failed to create stream!");
        return FALSE;
    }
    m_stream = stream;
    if (!QelLoadFileToStream(path, stream.Get())) {
        TessaryWriteLog(QelFormatString1(L"Failed to load data file: %1", path));
        return FALSE;
    }
    // An archive stored without encipherment still opens: the stream keeps its
    // content when deciphering fails.
    if (!QelDecryptStream(QelGetComputerNameAnsi().c_str(), stream.Get()))
        TessaryWriteLog(QelFormatString1(L"Failed to decrypt data file: %1", path));
    if (!Open(stream.Get())) {
        TessaryWriteLog(QelFormatString1(L"Failed to open data file: %1", path));
        return FALSE;
    }
    m_indexFileIndex = FindIndexFile(GetHandle());
    QELZIPENTRYINFO info{};
    if (m_indexFileIndex >= 0 && QelZipGetEntry(GetHandle(), m_indexFileIndex, &info) == QELZR_OK)
        m_indexFileName = info.name;
    if (m_indexFileName.empty()) {
        m_indexFileIndex = -1;
        TessaryWriteLog(QelFormatString1(L"Failed to find index file: %1", path));
        return FALSE;
    }
    return TRUE;
}

BOOL COskanDataFile::ExtractIndexFile(BYTE** data, DWORD* size)
{
    if (m_indexFileIndex < 0)
        return FALSE;
    return ExtractItem(m_indexFileIndex, data, size);
}

int COskanDataFile::FindIndexFile(HQELZIP zip)
{
    QELZIPENTRYINFO info{};
    if (QelZipGetEntry(zip, -1, &info) != QELZR_OK)
        return -1;
    const int count = info.index;
    for (int index = 0; index < count; ++index) {
        if (QelZipGetEntry(zip, index, &info) != QELZR_OK)
            continue;
        const std::wstring name = Trimmed(QelTrimSpaces(info.name), L"\\/");
        if (name.find_first_of(L"\\/") != std::wstring::npos)
            continue;
        if (StartsWithNoCase(name, L"index.htm") || StartsWithNoCase(name, L"QelArticle_"))
            return index;
        if (!StartsWithNoCase(name, L"qel_") && StartsWithNoCase(QelExtractFileExt(name.c_str()), L".htm"))
            return index;
    }
    return -1;
}
