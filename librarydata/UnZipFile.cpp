#include "librarydata/UnZipFile.h"

#include <cstdlib>

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
    BYTE* block = static_cast<BYTE*>(malloc(length > 0 ? length : 1));
    if (!block)
        return FALSE;
    if (QelZipExtract(m_zip, index, block, length, QELZIP_EXTRACT_MEMORY) != QELZR_OK) {
        free(block);
        return FALSE;
    }
    *data = block;
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
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(GetHGlobalFromStream(stream, &memory)) && memory) {
        const void* bytes = GlobalLock(memory);
        if (!bytes)
            return FALSE;
        m_locked = memory;
        if (!m_zip.OpenMemory(bytes, length)) {
            Close();
            return FALSE;
        }
        return TRUE;
    }
    m_copy.assign(length, 0);
    if (length > 0)
        QelReadStream(stream, m_copy.data(), length);
    if (!m_zip.OpenMemory(m_copy.data(), length)) {
        Close();
        return FALSE;
    }
    return TRUE;
}

BOOL CQelUnZipStream::Close()
{
    m_zip.Close();
    if (m_locked) {
        GlobalUnlock(m_locked);
        m_locked = nullptr;
    }
    m_copy.clear();
    m_copy.shrink_to_fit();
    return TRUE;
}
