// Plain BOOL helpers over COM streams (usually memory streams on global memory).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

ULONGLONG QelGetStreamSize(IStream* stream);  // the position is kept
BOOL QelSeekStreamToBegin(IStream* stream);
BOOL QelSetStreamSize(IStream* stream, ULONGLONG size);
// TRUE only when exactly `count` bytes moved.
BOOL QelReadStream(IStream* stream, void* buffer, ULONG count);
BOOL QelWriteStream(IStream* stream, const void* buffer, ULONG count);
// Replaces the target's content; leaves the target at its start.
BOOL QelCopyStream(IStream* source, IStream* target);
// Replaces the stream's content with the file's bytes.
BOOL QelLoadFileToStream(const wchar_t* path, IStream* stream);
BOOL QelSaveStreamToFile(IStream* stream, const wchar_t* path);
