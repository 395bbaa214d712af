#include "librarydata/ZipInput.h"

#include <cstring>
#include <utility>

namespace {

constexpr long kCannotSeek = 29;
constexpr long kUnknownOrigin = 19;

CQelZipInput* Self(voidpf opaque) { return static_cast<CQelZipInput*>(opaque); }

} // namespace

CQelZipInput::CQelZipInput(HANDLE file) : m_file(file)
{
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    m_canSeek = SetFilePointerEx(file, zero, &position, FILE_CURRENT) != FALSE;
    if (m_canSeek) {
        m_base = position.QuadPart;
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file, &size) && size.QuadPart > m_base) {
            const LONGLONG length = size.QuadPart - m_base;
            m_size = length > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<DWORD>(length);
        }
    }
}

CQelZipInput::CQelZipInput(CHandle file) : CQelZipInput(file.Get())
{
    m_owned = std::move(file);
}

CQelZipInput::CQelZipInput(const void* memory, DWORD size)
    : m_canSeek(true), m_memory(static_cast<const BYTE*>(memory)), m_size(size)
{
}

zlib_filefunc_def CQelZipInput::Callbacks()
{
    zlib_filefunc_def callbacks{};
    callbacks.zopen_file = &CQelZipInput::Open;
    callbacks.zread_file = &CQelZipInput::Read;
    callbacks.zwrite_file = &CQelZipInput::Write;
    callbacks.ztell_file = &CQelZipInput::Tell;
    callbacks.zseek_file = &CQelZipInput::Seek;
    callbacks.zclose_file = &CQelZipInput::Close;
    callbacks.zerror_file = &CQelZipInput::TestError;
    callbacks.opaque = this;
    return callbacks;
}

bool CQelZipInput::IsEmptyArchive()
{
    BYTE end[22] = {};
    if (m_size < sizeof(end) || Seek(this, nullptr, 0, ZLIB_FILEFUNC_SEEK_SET) != 0 ||
        Read(this, nullptr, end, sizeof(end)) != sizeof(end))
        return false;
    const auto word = [&end](int at) { return DWORD(end[at] | (end[at + 1] << 8)); };
    const bool signature = word(0) == 0x4b50 && word(2) == 0x0605;
    const bool noEntries = word(8) == 0 && word(10) == 0 && word(12) == 0 && word(14) == 0;
    return signature && noEntries && word(20) == m_size - sizeof(end);
}

voidpf ZCALLBACK CQelZipInput::Open(voidpf opaque, const char*, int)
{
    return opaque;
}

uLong ZCALLBACK CQelZipInput::Read(voidpf opaque, voidpf, void* buffer, uLong size)
{
    CQelZipInput* self = Self(opaque);
    DWORD count = 0;
    if (self->m_memory) {
        const DWORD left = self->m_position < self->m_size ? self->m_size - self->m_position : 0;
        count = size < left ? size : left;
        if (count > 0)
            memcpy(buffer, self->m_memory + self->m_position, count);
        self->m_position += count;
    } else if (!ReadFile(self->m_file, buffer, size, &count, nullptr)) {
        self->m_error = true;
        count = 0;
    }
    self->m_lastReadShort = count < size;
    return count;
}

uLong ZCALLBACK CQelZipInput::Write(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

long ZCALLBACK CQelZipInput::Tell(voidpf opaque, voidpf)
{
    CQelZipInput* self = Self(opaque);
    if (self->m_memory)
        return static_cast<long>(self->m_position);
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!self->m_canSeek || !SetFilePointerEx(self->m_file, zero, &position, FILE_CURRENT))
        return -1;
    return static_cast<long>(position.QuadPart - self->m_base);
}

long ZCALLBACK CQelZipInput::Seek(voidpf opaque, voidpf, uLong offset, int origin)
{
    CQelZipInput* self = Self(opaque);
    if (self->m_memory) {
        LONGLONG target = 0;
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: target = offset; break;
        case ZLIB_FILEFUNC_SEEK_CUR: target = LONGLONG(self->m_position) + long(offset); break;
        case ZLIB_FILEFUNC_SEEK_END: target = LONGLONG(self->m_size) + long(offset); break;
        default: return kUnknownOrigin;
        }
        if (target < 0 || target > 0xFFFFFFFFLL)
            return -1;
        self->m_position = static_cast<DWORD>(target);
        return 0;
    }
    if (!self->m_canSeek)
        return kCannotSeek;
    LARGE_INTEGER distance{};
    DWORD method = FILE_BEGIN;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: distance.QuadPart = self->m_base + offset; break;
    case ZLIB_FILEFUNC_SEEK_CUR: distance.QuadPart = long(offset); method = FILE_CURRENT; break;
    case ZLIB_FILEFUNC_SEEK_END: distance.QuadPart = long(offset); method = FILE_END; break;
    default: return kUnknownOrigin;
    }
    return SetFilePointerEx(self->m_file, distance, nullptr, method) ? 0 : -1;
}

int ZCALLBACK CQelZipInput::Close(voidpf, voidpf)
{
    // The reader object owns the input and closes it.
    return 0;
}

// The unzip library asks this only after a short read, and would otherwise take
// a read past the end for a zero byte.
int ZCALLBACK CQelZipInput::TestError(voidpf opaque, voidpf)
{
    const CQelZipInput* self = Self(opaque);
    return self->m_error || self->m_lastReadShort ? 1 : 0;
}
