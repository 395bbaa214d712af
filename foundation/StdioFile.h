// An owned C runtime file, closed when it goes out of scope.
#pragma once

#include <io.h>

#include <cstdio>
#include <memory>
#include <share.h>

struct QelFileCloser
{
    void operator()(FILE* file) const { fclose(file); }
};
using CQelStdioFile = std::unique_ptr<FILE, QelFileCloser>;

// `share` is one of the runtime's _SH_ values; empty when the file cannot be opened.
inline CQelStdioFile QelOpenFile(const wchar_t* path, const wchar_t* mode, int share = _SH_DENYNO)
{
    if (!path || !*path)
        return CQelStdioFile();
    return CQelStdioFile(_wfsopen(path, mode, share));
}

// Size of an open file, or -1.
inline __int64 QelGetOpenFileSize(FILE* file) { return file ? _filelengthi64(_fileno(file)) : -1; }

// Flushes and closes; FALSE when anything written could not be stored.
inline bool QelCloseFile(CQelStdioFile& file)
{
    FILE* raw = file.release();
    return raw && fclose(raw) == 0;
}
