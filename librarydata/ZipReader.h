#pragma once
// Reading zip archives through a small handle-based interface: open from a
// file, a file handle or memory, list and find entries, unzip one entry.
// Every operation also keeps its result as the last result of the reader half.

#include <windows.h>

#include "librarydata/ZipCommon.h"

struct QELZIPENTRYINFO {
    int index;               // the entry's index; for index -1 requests, the number of entries
    wchar_t name[MAX_PATH];  // path inside the archive, cleaned of drives and climbs
    DWORD attributes;        // FILE_ATTRIBUTE_* bits
    FILETIME accessTime;     // all three in UTC
    FILETIME creationTime;
    FILETIME modificationTime;
    LONG compressedSize;
    LONG uncompressedSize;
};

// Targets of QelZipExtract.
constexpr DWORD QELZIP_EXTRACT_HANDLE = 1;  // target: an open file HANDLE
constexpr DWORD QELZIP_EXTRACT_FILE = 2;    // target: const wchar_t* path, relative ones below the base folder
constexpr DWORD QELZIP_EXTRACT_MEMORY = 3;  // target: a block of length bytes

// The password is accepted for the interface's sake only: this build cannot
// decipher, and an enciphered entry gives QELZR_PASSWORD whatever is passed.
// A failed open gives null and leaves its code as the last result.
HQELZIP QelZipOpenFile(const wchar_t* path, const char* password);
HQELZIP QelZipOpenHandle(HANDLE file, const char* password);
// The block is not copied and must outlive the handle.
HQELZIP QelZipOpenMemory(const void* buffer, DWORD size, const char* password);

// index -1: the entry count in info->index; 0 to count - 1: that entry.
QELZRESULT QelZipGetEntry(HQELZIP zip, int index, QELZIPENTRYINFO* info);
QELZRESULT QelZipFindEntry(HQELZIP zip, const wchar_t* name, BOOL ignoreCase, int* index,
                           QELZIPENTRYINFO* info);
// Memory: QELZR_MORE while the block is full and data remains; the next call with
// the same index goes on. Every mode checks the entry's CRC and length at its end.
QELZRESULT QelZipExtract(HQELZIP zip, int index, void* target, DWORD length, DWORD mode);
// QELZR_CORRUPT when the entry's declared sizes are more than the archive can
// hold or its method cannot be unzipped: ask before allocating its size.
QELZRESULT QelZipCheckEntrySize(HQELZIP zip, int index);
QELZRESULT QelZipSetBaseFolder(HQELZIP zip, const wchar_t* folder);
QELZRESULT QelZipClose(HQELZIP zip);
BOOL QelZipIsReader(HQELZIP zip);
// QELZR_RECENT reports the last result of the reader half.
DWORD QelZipResultText(QELZRESULT code, wchar_t* buffer, DWORD length);
