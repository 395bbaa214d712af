// Plain BOOL helpers over COM streams (usually memory streams on global memory).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <vector>

#include "framework/GlobalLock.h"

// A new empty stream on movable global memory, freed with the stream; empty
// when out of memory.
Microsoft::WRL::ComPtr<IStream> QelCreateMemoryStream();

ULONGLONG QelGetStreamSize(IStream* stream);  // the position is kept
BOOL QelSeekStreamToBegin(IStream* stream);
BOOL QelSetStreamSize(IStream* stream, ULONGLONG size);
// TRUE only when exactly `count` bytes moved.
BOOL QelReadStream(IStream* stream, void* buffer, ULONG count);
BOOL QelWriteStream(IStream* stream, const void* buffer, ULONG count);
// The whole content, read from the start wherever the position was; FALSE
// when it cannot be read or is too large to hold.
BOOL QelReadWholeStream(IStream* stream, std::vector<BYTE>& bytes);
// Replaces the target's content; leaves the target at its start.
BOOL QelCopyStream(IStream* source, IStream* target);
// Replaces the stream's content with the file's bytes.
BOOL QelLoadFileToStream(const wchar_t* path, IStream* stream);
BOOL QelSaveStreamToFile(IStream* stream, const wchar_t* path);

// A stream's whole content in memory: a memory stream's own block, locked, or
// else a copy read from the stream's current position.
class CQelStreamContent {
public:
    // FALSE when the block is smaller than size or the copy cannot be read whole.
    BOOL Open(IStream* stream, ULONG size);
    BYTE* Data() { return IsStreamMemory() ? static_cast<BYTE*>(m_locked.Data()) : m_copy.data(); }
    // Changes to the stream's own memory change the stream's content.
    bool IsStreamMemory() const { return m_locked.Data() != nullptr; }
    // Before the stream is resized: a locked block may not move.
    void Close();

private:
    CGlobalLock m_locked;
    std::vector<BYTE> m_copy;
};
