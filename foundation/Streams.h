// Plain BOOL helpers over COM streams (usually memory streams on global memory).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <vector>

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
