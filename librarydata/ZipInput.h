#pragma once
// Where the unzip library reads an archive from: an open file or a block of
// memory, through callbacks of our own so that wide paths and memory work.

#include <windows.h>

#include "framework/Handle.h"
#include "minizip/unzip.h"

class CQelZipInput {
public:
    // A file handle read from its current position, which becomes the
    // archive's offset 0; the caller keeps it open while the input lives.
    explicit CQelZipInput(HANDLE file);
    // The same for a file the input owns and closes.
    explicit CQelZipInput(CHandle file);
    // A block that is not copied and must outlive the input.
    CQelZipInput(const void* memory, DWORD size);
    CQelZipInput(const CQelZipInput&) = delete;
    CQelZipInput& operator=(const CQelZipInput&) = delete;

    bool CanSeek() const { return m_canSeek; }
    // The archive's length from its offset 0, clipped to 32 bits.
    DWORD Size() const { return m_size; }
    // The block of an archive in memory; null for a file.
    const BYTE* Memory() const { return m_memory; }
    // Only an end record without entries: the unzip library cannot find an end
    // record at offset 0, so such an archive is recognised here.
    bool IsEmptyArchive();
    // Callbacks whose opaque pointer is this input.
    zlib_filefunc_def Callbacks();

private:
    static voidpf ZCALLBACK Open(voidpf opaque, const char* name, int mode);
    static uLong ZCALLBACK Read(voidpf opaque, voidpf stream, void* buffer, uLong size);
    static uLong ZCALLBACK Write(voidpf opaque, voidpf stream, const void* buffer, uLong size);
    static long ZCALLBACK Tell(voidpf opaque, voidpf stream);
    static long ZCALLBACK Seek(voidpf opaque, voidpf stream, uLong offset, int origin);
    static int ZCALLBACK Close(voidpf opaque, voidpf stream);
    static int ZCALLBACK TestError(voidpf opaque, voidpf stream);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    CHandle m_owned;
    bool m_canSeek = false;
    LONGLONG m_base = 0;
    bool m_error = false;
    bool m_lastReadShort = false;
    const BYTE* m_memory = nullptr;
    DWORD m_size = 0;
    DWORD m_position = 0;
};
