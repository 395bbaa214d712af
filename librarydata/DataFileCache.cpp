#include "librarydata/DataFileCache.h"

#include <shlwapi.h>

#include <new>

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"

namespace {

std::wstring KeyOf(const wchar_t* path)
{
    std::wstring key = path ? path : L"";
    if (!key.empty())
        CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

} // namespace

template <class Extract>
BOOL COskanDataFileCache::ExtractFrom(const wchar_t* path, Extract extract)
{
    std::lock_guard<std::mutex> guard(m_lock);
    COskanDataFile* file = GetDataFile(path);
    if (!file) {
        TessaryWriteLog(QelFormatString1(L"Failed to get data file: %1", path));
        return FALSE;
    }
    return extract(*file);
}

BOOL COskanDataFileCache::ExtractEntry(const wchar_t* path, const wchar_t* entryName, BYTE** data, DWORD* size)
{
    return ExtractFrom(path, [&](COskanDataFile& file) { return file.ExtractFile(entryName, data, size); });
}

BOOL COskanDataFileCache::ExtractIndexPage(const wchar_t* path, BYTE** data, DWORD* size)
{
    return ExtractFrom(path, [&](COskanDataFile& file) { return file.ExtractIndexFile(data, size); });
}

void COskanDataFileCache::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_files.clear();
}

void COskanDataFileCache::Remove(const wchar_t* path)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_files.erase(KeyOf(path));
}

COskanDataFile* COskanDataFileCache::GetDataFile(const wchar_t* path)
{
    const std::wstring key = KeyOf(path);
    const auto cached = m_files.find(key);
    if (cached != m_files.end())
        return cached->second.get();
    // A full cache is emptied whole.
    if (m_files.size() >= kMaxFiles)
        m_files.clear();
    if (key.empty() || !PathFileExistsW(path)) {
        TessaryWriteLog(QelFormatString1(L"Failed to get document data: %1", path));
        return nullptr;
    }
    std::unique_ptr<COskanDataFile> file;
    try {
        file = std::make_unique<COskanDataFile>();
    } catch (const std::bad_alloc&) {
        TessaryWriteLog(L"Failed to create data file, out of memory");
        return nullptr;
    }
    if (!file->Load(path)) {
        TessaryWriteLog(QelFormatString1(L"Failed to get document data: %1", path));
        return nullptr;
    }
    COskanDataFile* loaded = file.get();
    m_files.emplace(key, std::move(file));
    return loaded;
}

COskanDataFileCache* QelGetDataFileCache()
{
    // Built once even when two threads ask first at the same moment.
    static COskanDataFileCache cache;
    return &cache;
}
