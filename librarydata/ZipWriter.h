#pragma once
// Writing zip archives through the handle-based interface: create in a file, on
// an open handle or in memory, add entries, end with the central directory.
// Every operation also keeps its result as the last result of the writer half;
// nothing is logged.

#include <windows.h>

#include "librarydata/ZipCommon.h"

// Kinds of source for QelZipAdd.
constexpr DWORD QELZIP_SOURCE_HANDLE = 1;  // source: an open file HANDLE
constexpr DWORD QELZIP_SOURCE_FILE = 2;    // source: const wchar_t* path
constexpr DWORD QELZIP_SOURCE_MEMORY = 3;  // source: a block of length bytes
constexpr DWORD QELZIP_SOURCE_FOLDER = 4;  // no source
// As the length of a handle source: as many bytes as the file holds.
constexpr DWORD QELZIP_LENGTH_OF_SOURCE = 0xFFFFFFFF;

// A null or empty password writes plain entries; otherwise entries (not
// folders) are enciphered with the traditional zip encryption.
HQELZIP QelZipCreateFile(const wchar_t* path, const char* password);
// Writes from the handle's current position; the handle stays open at the end.
HQELZIP QelZipCreateHandle(HANDLE file, const char* password);
// A null block: a mapping of size bytes of our own, unmapped at close.
HQELZIP QelZipCreateMemory(void* block, DWORD size, const char* password);

QELZRESULT QelZipAdd(HQELZIP zip, const wchar_t* name, const void* source, DWORD length, DWORD kind);
// Ends additions, then gives the block and the number of bytes written; the
// block stays valid until QelZipCloseWriter.
QELZRESULT QelZipGetMemory(HQELZIP zip, void** block, DWORD* length);
// Ends additions (once), releases what the writer opened and frees the handle.
QELZRESULT QelZipCloseWriter(HQELZIP zip);
BOOL QelZipIsWriter(HQELZIP zip);
// QELZR_RECENT reports the last result of the writer half.
DWORD QelZipWriterResultText(QELZRESULT code, wchar_t* buffer, DWORD length);
