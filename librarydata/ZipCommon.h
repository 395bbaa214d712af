#pragma once
// What the zip reading facade and the zip writer share: the handle record,
// the result codes and their texts.

#include <windows.h>

#include <atomic>
#include <memory>
#include <new>

// Result codes of every zip operation (0 = success).
using QELZRESULT = DWORD;
constexpr QELZRESULT QELZR_OK = 0x00000000;
constexpr QELZRESULT QELZR_NODUPH = 0x00000100;      // couldn't duplicate handle
constexpr QELZRESULT QELZR_NOFILE = 0x00000200;      // couldn't create/open file
constexpr QELZRESULT QELZR_NOALLOC = 0x00000300;     // failed to allocate memory
constexpr QELZRESULT QELZR_WRITE = 0x00000400;       // error writing to file
constexpr QELZRESULT QELZR_NOTFOUND = 0x00000500;    // entry not in the archive
constexpr QELZRESULT QELZR_MORE = 0x00000600;        // still more data to unzip
constexpr QELZRESULT QELZR_CORRUPT = 0x00000700;     // not a zip archive, or a damaged one
constexpr QELZRESULT QELZR_READ = 0x00000800;        // error reading file
constexpr QELZRESULT QELZR_PASSWORD = 0x00001000;    // an enciphered entry
constexpr QELZRESULT QELZR_ARGS = 0x00010000;        // faulty arguments
constexpr QELZRESULT QELZR_NOTMMAP = 0x00020000;     // memory asked of an archive not in memory
constexpr QELZRESULT QELZR_MEMSIZE = 0x00030000;     // memory archive too small
constexpr QELZRESULT QELZR_FAILED = 0x00040000;      // a previous error sticks
constexpr QELZRESULT QELZR_ENDED = 0x00050000;       // additions already ended
constexpr QELZRESULT QELZR_MISSIZE = 0x00060000;     // a source gave another size than announced
constexpr QELZRESULT QELZR_PARTIALUNZ = 0x00070000;  // entry already partly unzipped
constexpr QELZRESULT QELZR_ZMODE = 0x00080000;       // a reading handle given to the writer or back
constexpr QELZRESULT QELZR_NOTINITED = 0x01000000;
constexpr QELZRESULT QELZR_SEEK = 0x02000000;        // the output or input cannot seek
constexpr QELZRESULT QELZR_NOCHANGE = 0x04000000;
constexpr QELZRESULT QELZR_FLATE = 0x05000000;       // inflate or deflate failed

// Asking a text function for this code reports the last result of its half.
constexpr QELZRESULT QELZR_RECENT = 0x00000001;

constexpr DWORD QELZIP_KIND_READER = 1;
constexpr DWORD QELZIP_KIND_WRITER = 2;

// Both halves move entry data in pieces of this size.
constexpr DWORD QELZIP_BLOCK_SIZE = 16384;
// 1970-01-01 as a FILETIME: the extended times of zip entries count seconds from it.
constexpr ULONGLONG QELZIP_UNIX_EPOCH = 116444736000000000ULL;

// The object behind a handle: a reader or a writer.
class CQelZipObject {
public:
    virtual ~CQelZipObject() = default;
};

struct QELZIPHANDLEDATA {
    DWORD kind = 0;
    std::unique_ptr<CQelZipObject> object;
};
using HQELZIP = QELZIPHANDLEDATA*;

// The handle record handed out for a new reader or writer.
HQELZIP QelZipMakeHandle(DWORD kind, std::unique_ptr<CQelZipObject> object);

// The last result of one half, kept process-wide for its text function.
class CQelZipLastResult {
public:
    QELZRESULT Keep(QELZRESULT result) noexcept
    {
        m_value = result;
        return result;
    }
    // QELZR_RECENT stands for the last result.
    QELZRESULT Resolve(QELZRESULT code) const noexcept { return code == QELZR_RECENT ? m_value.load() : code; }

private:
    std::atomic<QELZRESULT> m_value{QELZR_OK};
};

// Runs action on the object behind a handle of the given kind and keeps its
// result; no handle is faulty arguments, a handle of the other half is mixing
// creation and opening.
// Memory running out is that code, never an exception.
template <class Object, class Action>
QELZRESULT QelZipWithObject(HQELZIP zip, DWORD kind, CQelZipLastResult& last, Action action)
{
    if (!zip)
        return last.Keep(QELZR_ARGS);
    if (zip->kind != kind)
        return last.Keep(QELZR_ZMODE);
    try {
        return last.Keep(action(static_cast<Object&>(*zip->object)));
    } catch (const std::bad_alloc&) {
        return last.Keep(QELZR_NOALLOC);
    }
}

// Opening or creating a handle: memory running out is a null handle with
// that code kept, never an exception.
template <class Open>
HQELZIP QelZipOpenGuarded(CQelZipLastResult& last, Open open)
{
    try {
        return open();
    } catch (const std::bad_alloc&) {
        last.Keep(QELZR_NOALLOC);
        return nullptr;
    }
}

// Copies the text of a code into buffer (cut to fit, NUL-terminated) and returns
// its full length; the writer's table lacks the password entry.
DWORD QelZipCopyResultText(QELZRESULT code, wchar_t* buffer, DWORD length, bool withPassword);
