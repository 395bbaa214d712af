#pragma once
// The process-wide cache of opened data files: at most ten, keyed by the
// lower-cased path, all under one lock held from the lookup through the load
// and the extraction.

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "librarydata/DataFile.h"

class COskanDataFileCache {
public:
    COskanDataFileCache() = default;
    COskanDataFileCache(const COskanDataFileCache&) = delete;
    COskanDataFileCache& operator=(const COskanDataFileCache&) = delete;

    // On success *data is a block from malloc that the caller frees with free.
    BOOL ExtractEntry(const wchar_t* path, const wchar_t* entryName, BYTE** data, DWORD* size);
    BOOL ExtractIndexPage(const wchar_t* path, BYTE** data, DWORD* size);
    void Clear();
    // Drops one data file; whoever replaces or deletes a data file on disk calls
    // this, so that no page of the old file is served again.
    void Remove(const wchar_t* path);

private:
    static constexpr size_t kMaxFiles = 10;

    COskanDataFile* GetDataFile(const wchar_t* path);  // the lock is held
    // Under the lock: the data file of path, or a logged failure.
    template <class Extract>
    BOOL ExtractFrom(const wchar_t* path, Extract extract);

    std::mutex m_lock;
    std::map<std::wstring, std::unique_ptr<COskanDataFile>> m_files;
};

COskanDataFileCache* QelGetDataFileCache();
