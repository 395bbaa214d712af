#include "librarydata/ZipCommon.h"

#include <cwchar>
#include <utility>

namespace {

struct ResultText {
    QELZRESULT code;
    const wchar_t* text;
};

// This build of the unzip library cannot decipher entries, so the password
// text says that no password will help.
constexpr ResultText kTexts[] = {
    {QELZR_OK, L"Success"},
    {QELZR_NODUPH, L"Culdn't duplicate handle"},
    {QELZR_NOFILE, L"Couldn't create/open file"},
    {QELZR_NOALLOC, L"Failed to allocate memory"},
    {QELZR_WRITE, L"Error writing to file"},
    {QELZR_NOTFOUND, L"File not found in the zipfile"},
    {QELZR_MORE, L"Still more data to unzip"},
    {QELZR_CORRUPT, L"Zipfile is corrupt or not a zipfile"},
    {QELZR_READ, L"Error reading file"},
    {QELZR_PASSWORD, L"Correct password required: enciphered entries cannot be read"},
    {QELZR_ARGS, L"Caller: faulty arguments"},
    {QELZR_NOTMMAP, L"Caller: can only get memory of a memory zipfile"},
    {QELZR_MEMSIZE, L"Caller: not enough space allocated for memory zipfile"},
    {QELZR_FAILED, L"Caller: there was a previous error"},
    {QELZR_ENDED, L"Caller: additions to the zip have already been ended"},
    {QELZR_MISSIZE, L"Zip-bug: the anticipated size turned out wrong"},
    {QELZR_PARTIALUNZ, L"Caller: the file had already been partially unzipped"},
    {QELZR_ZMODE, L"Caller: mixing creation and opening of zip"},
    {QELZR_NOTINITED, L"Zip-bug: internal initialisation not completed"},
    {QELZR_SEEK, L"Zip-bug: trying to seek the unseekable"},
    {QELZR_NOCHANGE, L"Zip-bug: tried to change mind, but not allowed"},
    {QELZR_FLATE, L"Zip-bug: an internal error during flation"},
};

} // namespace

DWORD QelZipCopyResultText(QELZRESULT code, wchar_t* buffer, DWORD length, bool withPassword)
{
    const wchar_t* text = L"unknown zip result code";
    for (const ResultText& entry : kTexts) {
        if (entry.code == code && (withPassword || code != QELZR_PASSWORD)) {
            text = entry.text;
            break;
        }
    }
    const DWORD full = static_cast<DWORD>(wcslen(text));
    if (buffer && length > 0) {
        const DWORD copied = full < length - 1 ? full : length - 1;
        wmemcpy(buffer, text, copied);
        buffer[copied] = L'\0';
    }
    return full;
}

HQELZIP QelZipMakeHandle(DWORD kind, std::unique_ptr<CQelZipObject> object)
{
    auto handle = std::make_unique<QELZIPHANDLEDATA>();
    handle->kind = kind;
    handle->object = std::move(object);
    return handle.release();
}
