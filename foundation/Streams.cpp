#include "foundation/Streams.h"

#include <climits>
#include <new>

#include "foundation/StdioFile.h"

namespace {

// Under Wine a file read into fresh pages costs about twice what the same read
// costs once each page has been written to (1 MB: 0.69 against 0.37 ms with the
// touching), as if the read met each page's first fault on its own; on Windows
// the touching costs no more than the read's faults would.
void* TouchPages(void* block, size_t size)
{
    constexpr size_t kPage = 4096;
    BYTE* const bytes = static_cast<BYTE*>(block);
    for (size_t at = 0; at < size; at += kPage)
        bytes[at] = 0;
    return block;
}

} // namespace

Microsoft::WRL::ComPtr<IStream> QelCreateMemoryStream()
{
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        stream.Reset();
    return stream;
}

ULONGLONG QelGetStreamSize(IStream* stream)
{
    if (!stream)
        return 0;
    LARGE_INTEGER zero{};
    ULARGE_INTEGER position{}, end{};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &position)))
        return 0;
    if (FAILED(stream->Seek(zero, STREAM_SEEK_END, &end)))
        end.QuadPart = 0;
    LARGE_INTEGER back{};
    back.QuadPart = static_cast<LONGLONG>(position.QuadPart);
    stream->Seek(back, STREAM_SEEK_SET, nullptr);
    return end.QuadPart;
}

BOOL QelSeekStreamToBegin(IStream* stream)
{
    LARGE_INTEGER zero{};
    return stream && SUCCEEDED(stream->Seek(zero, STREAM_SEEK_SET, nullptr));
}

BOOL QelSetStreamSize(IStream* stream, ULONGLONG size)
{
    ULARGE_INTEGER value{};
    value.QuadPart = size;
    return stream && SUCCEEDED(stream->SetSize(value));
}

BOOL QelReadStream(IStream* stream, void* buffer, ULONG count)
{
    if (!stream || (!buffer && count))
        return FALSE;
    if (!count)
        return TRUE;
    ULONG read = 0;
    return SUCCEEDED(stream->Read(buffer, count, &read)) && read == count;
}

BOOL QelWriteStream(IStream* stream, const void* buffer, ULONG count)
{
    if (!stream || (!buffer && count))
        return FALSE;
    if (!count)
        return TRUE;
    ULONG written = 0;
    return SUCCEEDED(stream->Write(buffer, count, &written)) && written == count;
}

BOOL QelReadWholeStream(IStream* stream, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (!QelSeekStreamToBegin(stream))
        return FALSE;
    const ULONGLONG size = QelGetStreamSize(stream);
    if (size > LONG_MAX)
        return FALSE;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return QelReadStream(stream, bytes.data(), static_cast<ULONG>(bytes.size()));
}

BOOL QelCopyStream(IStream* source, IStream* target)
{
    if (!source || !target)
        return FALSE;
    const ULONGLONG size = QelGetStreamSize(source);
    QelSeekStreamToBegin(source);
    QelSeekStreamToBegin(target);
    QelSetStreamSize(target, 0);
    ULARGE_INTEGER count{}, read{}, written{};
    count.QuadPart = size;
    if (FAILED(source->CopyTo(target, count, &read, &written)) || read.QuadPart != size || written.QuadPart != size)
        return FALSE;
    QelSeekStreamToBegin(target);
    return TRUE;
}

BOOL QelLoadFileToStream(const wchar_t* path, IStream* stream)
{
    if (!stream)
        return FALSE;
    QelSeekStreamToBegin(stream);
    QelSetStreamSize(stream, 0);
    try {
        CQelStdioFile file = QelOpenFile(path, L"rb", _SH_DENYNO);
        if (!file)
            return FALSE;
        const __int64 size = QelGetOpenFileSize(file.get());
        if (size < 0 || size > LONG_MAX)
            return FALSE;
        // A memory stream is read into in place: the copy through a buffer cost as much as the read.
        HGLOBAL memory = nullptr;
        if (size > 0 && SUCCEEDED(::GetHGlobalFromStream(stream, &memory)) &&
            QelSetStreamSize(stream, static_cast<ULONGLONG>(size)) &&
            SUCCEEDED(::GetHGlobalFromStream(stream, &memory))) {
            const CGlobalLock lock(memory);
            if (!lock.Data() || lock.Size() < static_cast<SIZE_T>(size) ||
                fread(TouchPages(lock.Data(), static_cast<size_t>(size)), 1, static_cast<size_t>(size), file.get()) !=
                    static_cast<size_t>(size)) {
                QelSetStreamSize(stream, 0);
                return FALSE;
            }
            LARGE_INTEGER end{};
            end.QuadPart = size;
            return SUCCEEDED(stream->Seek(end, STREAM_SEEK_SET, nullptr));
        }
        std::vector<BYTE> buffer(static_cast<size_t>(size));
        if (fread(buffer.data(), 1, buffer.size(), file.get()) != buffer.size())
            return FALSE;
        return QelWriteStream(stream, buffer.data(), static_cast<ULONG>(buffer.size()));
    } catch (...) {
        return FALSE;
    }
}

BOOL QelSaveStreamToFile(IStream* stream, const wchar_t* path)
{
    try {
        // Read everything before the file is created, so a failed read leaves the target alone.
        std::vector<BYTE> buffer;
        if (!QelReadWholeStream(stream, buffer))
            return FALSE;
        CQelStdioFile file = QelOpenFile(path, L"wb", _SH_DENYNO);
        if (!file)
            return FALSE;
        const bool written = buffer.empty() || fwrite(buffer.data(), 1, buffer.size(), file.get()) == buffer.size();
        return QelCloseFile(file) && written;
    } catch (...) {
        return FALSE;
    }
}

BOOL CQelStreamContent::Open(IStream* stream, ULONG size)
{
    Close();
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(::GetHGlobalFromStream(stream, &memory)) && memory) {
        m_locked = CGlobalLock(memory);
        return m_locked.Size() >= size;
    }
    try {
        m_copy.resize(size);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return QelReadStream(stream, m_copy.data(), size);
}

void CQelStreamContent::Close()
{
    m_locked.Unlock();
    std::vector<BYTE>().swap(m_copy);
}
