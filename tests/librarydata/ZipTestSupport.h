#pragma once
// Helpers the zip and data-file tests share: handle owners and byte access to
// archive records.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/TestFolder.h"
#include "framework/Handle.h"
#include "librarydata/ZipReader.h"
#include "librarydata/ZipWriter.h"

using Bytes = std::vector<BYTE>;

struct ReaderCloser {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipClose(zip); }
};
using ReaderPtr = std::unique_ptr<QELZIPHANDLEDATA, ReaderCloser>;

struct WriterCloser {
    void operator()(QELZIPHANDLEDATA* zip) const { QelZipCloseWriter(zip); }
};
using WriterPtr = std::unique_ptr<QELZIPHANDLEDATA, WriterCloser>;

inline ReaderPtr OpenBytes(const Bytes& bytes)
{
    return ReaderPtr(QelZipOpenMemory(bytes.empty() ? "" : static_cast<const void*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()), nullptr));
}

inline std::wstring LastReaderText()
{
    wchar_t text[128] = {};
    QelZipResultText(QELZR_RECENT, text, 128);
    return text;
}

inline std::wstring ReaderText(QELZRESULT code)
{
    wchar_t text[128] = {};
    QelZipResultText(code, text, 128);
    return text;
}

inline DWORD Get32(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (DWORD(b[at + 3]) << 24); }
inline WORD Get16(const Bytes& b, size_t at) { return static_cast<WORD>(b[at] | (b[at + 1] << 8)); }
inline void Set32(Bytes& b, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}
inline void Set16(Bytes& b, size_t at, WORD v)
{
    b[at] = static_cast<BYTE>(v);
    b[at + 1] = static_cast<BYTE>(v >> 8);
}

// Offsets of the records of an archive without a comment, found through its end record.
inline size_t EndRecordOf(const Bytes& zip) { return zip.size() - 22; }
inline size_t CentralRecordOf(const Bytes& zip, int entry)
{
    size_t at = Get32(zip, EndRecordOf(zip) + 16);
    for (int i = 0; i < entry; ++i)
        at += 46 + Get16(zip, at + 28) + Get16(zip, at + 30) + Get16(zip, at + 32);
    return at;
}
inline size_t LocalHeaderOf(const Bytes& zip, int entry) { return Get32(zip, CentralRecordOf(zip, entry) + 42); }
inline size_t DataOf(const Bytes& zip, int entry)
{
    const size_t local = LocalHeaderOf(zip, entry);
    return local + 30 + Get16(zip, local + 26) + Get16(zip, local + 28);
}

inline ULONGLONG Value(const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
inline ULONGLONG FromUnix(ULONGLONG seconds) { return seconds * 10000000ULL + 116444736000000000ULL; }

inline SYSTEMTIME LocalTimeOf(const FILETIME& utc)
{
    FILETIME local{};
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    return st;
}
