#include "foundation/FileCompare.h"

#include "foundation/Files.h"
#include "foundation/MD5.h"

#include <cstring>

int QelCompareFiles(const wchar_t* path1, const wchar_t* path2)
{
    if (_wcsicmp(path1, path2) == 0)
        return 0;
    BYTE digest1[16], digest2[16];
    if (!QelFileExists(path1) || !QelMD5OfFile(path1, digest1))
        return -1;
    if (!QelFileExists(path2) || !QelMD5OfFile(path2, digest2))
        return 1;
    const int order = std::memcmp(digest1, digest2, sizeof digest1);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::wstring QelCopyFileIfDifferent(const wchar_t* source, const wchar_t* target)
{
    std::wstring result = target;
    if (QelCompareFiles(source, target) == 0)
        return result;
    if (QelFileExists(result.c_str()))
        QelMakeUniqueFileName(result);
    QelCopyFile(source, result.c_str(), FALSE);
    return result;
}
