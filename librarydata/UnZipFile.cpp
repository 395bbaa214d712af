#include "librarydata/UnZipFile.h"

#include <cstdlib>
#include <memory>

#include "foundation/Streams.h"
#include "librarydata/ZipReader.h"
#include "librarydata/ZipWriter.h"

CQelUnZipFile::~CQelUnZipFile()
{
    CQelUnZipFile::Close();
}

BOOL CQelUnZipFile::OpenMemory(const void* buffer, DWORD size)
{
    Close();
    m_zip = QelZipOpenMemory(buffer, size, nullptr);
    return m_zip != nullptr;
}

BOOL CQelUnZipFile::OpenFile(const wchar_t* path)
{
    Close();
    m_zip = QelZipOpenFile(path, nullptr);
    return m_zip != nullptr;
}

BOOL CQelUnZipFile::Close()
{
    if (m_zip) {
        if (QelZipIsReader(m_zip))
            QelZipClose(m_zip);
        else
            QelZipCloseWriter(m_zip);
        m_zip = nullptr;
    }
    return TRUE;
}

BOOL CQelUnZipFile::ExtractFile(const wchar_t* name, BYTE** data, DWORD* size)
{
    if (!m_zip || !name)
        return FALSE;
    int index = -1;
    QELZIPENTRYINFO info{};
    if (QelZipFindEntry(m_zip, name, TRUE, &index, &info) != QELZR_OK)
        return FALSE;
    return ExtractItem(index, data, size);
}

BOOL CQelUnZipFile::ExtractItem(int index, BYTE** data, DWORD* size)
{
    if (!data || *data || !size || !m_zip)
        return FALSE;
    QELZIPENTRYINFO info{};
    if (QelZipGetEntry(m_zip, index, &info) != QELZR_OK)
        return FALSE;
    // The declared size is checked against what the archive can hold before it is allocated.
    if (info.uncompressedSize < 0 || QelZipCheckEntrySize(m_zip, index) != QELZR_OK)
        return FALSE;
    const DWORD length = static_cast<DWORD>(info.uncompressedSize);
    // The caller frees the block with free, so it comes from malloc.
    std::unique_ptr<BYTE, decltype(&free)> block(static_cast<BYTE*>(malloc(length > 0 ? length : 1)), &free);
    if (!block || QelZipExtract(m_zip, index, block.get(), length, QELZIP_EXTRACT_MEMORY) != QELZR_OK)
        return FALSE;
    *data = block.release();
    *size = length;
    return TRUE;
}

CQelUnZipStream::~CQelUnZipStream()
{
    CQelUnZipStream::Close();
}

BOOL CQelUnZipStream::Open(IStream* stream)
{
    Close();
    if (!stream)
        return FALSE;
    const ULONGLONG size = QelGetStreamSize(stream);
    if (size > 0xFFFFFFFFULL)
        return FALSE;
    const DWORD length = static_cast<DWORD>(size);
    if (!m_content.Open(stream, length) || !m_zip.OpenMemory(m_content.Data(), length)) {
        Close();
        return FALSE;
    }
    return TRUE;
}

BOOL CQelUnZipStream::Close()
{
    m_zip.Close();
    m_content.Close();
    return TRUE;
}

BOOL QelIsReadableZipArchive(IStream* stream)
{
    CQelUnZipStream zip;
    if (!zip.Open(stream))
        return FALSE;
    QELZIPENTRYINFO archive{};
    if (QelZipGetEntry(zip.GetHandle(), -1, &archive) != QELZR_OK || archive.index < 1)
        return FALSE;
    for (int i = 0; i < archive.index; ++i) {
        BYTE* data = nullptr;
        DWORD size = 0;
        const BOOL extracted = zip.ExtractItem(i, &data, &size);
        free(data);
        if (!extracted)
            return FALSE;
    }
    return TRUE;
}
