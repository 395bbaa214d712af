#pragma once
// A zip archive opened for reading, from a file, from memory or from a stream.

#include <windows.h>
#include <objidl.h>

#include "foundation/Streams.h"
#include "librarydata/ZipCommon.h"

class CQelUnZipFile {
public:
    CQelUnZipFile() = default;
    virtual ~CQelUnZipFile();
    CQelUnZipFile(const CQelUnZipFile&) = delete;
    CQelUnZipFile& operator=(const CQelUnZipFile&) = delete;

    // The buffer is not copied and must outlive the archive.
    virtual BOOL OpenMemory(const void* buffer, DWORD size);
    virtual BOOL OpenFile(const wchar_t* path);
    virtual BOOL Close();

    // The entry found by name without regard to case. On success *data is a
    // block from malloc that the caller frees with free.
    BOOL ExtractFile(const wchar_t* name, BYTE** data, DWORD* size);
    // The entry at this position in the archive; *data must be null on entry.
    BOOL ExtractItem(int index, BYTE** data, DWORD* size);

    HQELZIP GetHandle() const { return m_zip; }

private:
    HQELZIP m_zip = nullptr;
};

class CQelUnZipStream {
public:
    CQelUnZipStream() = default;
    virtual ~CQelUnZipStream();
    CQelUnZipStream(const CQelUnZipStream&) = delete;
    CQelUnZipStream& operator=(const CQelUnZipStream&) = delete;

    // Reads the stream's global memory in place (locked until Close) when it
    // has one, otherwise a private copy from its current position.
    virtual BOOL Open(IStream* stream);
    virtual BOOL Close();

    BOOL ExtractFile(const wchar_t* name, BYTE** data, DWORD* size) { return m_zip.ExtractFile(name, data, size); }
    BOOL ExtractItem(int index, BYTE** data, DWORD* size) { return m_zip.ExtractItem(index, data, size); }
    HQELZIP GetHandle() const { return m_zip.GetHandle(); }

private:
    CQelUnZipFile m_zip;
    CQelStreamContent m_content;
};

// The stream holds a zip archive of at least one entry, and every entry
// unzips whole with its CRC: what a reader can open. A stream without global
// memory is read from its current position.
BOOL QelIsReadableZipArchive(IStream* stream);
