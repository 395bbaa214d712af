#include "foundation/Paths.h"

#include <shlwapi.h>

#include <cwchar>
#include <vector>

#include "foundation/Strings.h"

namespace {

struct PathParts
{
    std::wstring drive, dir, name, ext;
};

PathParts SplitPath(const wchar_t* path)
{
    PathParts parts;
    if (!path || !*path)
        return parts;
    // Every part is at most as long as the whole path, so no part can overflow.
    const size_t size = wcslen(path) + 1;
    std::vector<wchar_t> drive(size), dir(size), name(size), ext(size);
    if (_wsplitpath_s(path, drive.data(), size, dir.data(), size, name.data(), size, ext.data(), size))
        return parts;
    parts.drive = drive.data();
    parts.dir = dir.data();
    parts.name = name.data();
    parts.ext = ext.data();
    return parts;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

const wchar_t kInvalidNameChars[] = L"/\"?:*|<>\r\n\t,%'";

std::wstring CallPathApi(DWORD (WINAPI* api)(LPCWSTR, LPWSTR, DWORD), const wchar_t* path)
{
    wchar_t buffer[1024] = {};
    const DWORD length = api(path, buffer, 1024);
    if (!length || length >= 1024)
        return path;
    return buffer;
}

}  // namespace

std::wstring QelExtractFilePath(const wchar_t* path)
{
    const PathParts parts = SplitPath(path);
    return parts.drive + parts.dir;
}

std::wstring QelExtractFileName(const wchar_t* path)
{
    const PathParts parts = SplitPath(path);
    return parts.name + parts.ext;
}

std::wstring QelExtractFileExt(const wchar_t* path) { return SplitPath(path).ext; }

std::wstring QelExtractFileTitle(const wchar_t* path) { return SplitPath(path).name; }

void QelAppendPathSeparator(std::wstring& path)
{
    if (!path.empty() && !IsSeparator(path.back()))
        path += L'\\';
}

void QelRemovePathSeparator(std::wstring& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
}

std::wstring QelExtractFolderName(const wchar_t* folder)
{
    std::wstring path(folder ? folder : L"");
    QelRemovePathSeparator(path);
    return QelExtractFileName(path.c_str());
}

void QelGetParentFolder(std::wstring& folder)
{
    QelRemovePathSeparator(folder);
    folder = QelExtractFilePath(folder.c_str());
}

std::wstring QelGetLongPathName(const wchar_t* path)
{
    if (!path)
        return std::wstring();
    return CallPathApi(GetLongPathNameW, path);
}

std::wstring QelGetShortPathName(const wchar_t* path)
{
    if (!path)
        return std::wstring();
    return CallPathApi(GetShortPathNameW, path);
}

int QelComparePaths(const wchar_t* a, const wchar_t* b)
{
    std::wstring first = QelGetLongPathName(a ? a : L"");
    std::wstring second = QelGetLongPathName(b ? b : L"");
    QelRemovePathSeparator(first);
    QelRemovePathSeparator(second);
    const int result = _wcsicmp(first.c_str(), second.c_str());
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

BOOL QelTrimPath(wchar_t* path)
{
    if (!path || !*path)
        return FALSE;
    StrTrimW(path, L" \"");
    return *path ? TRUE : FALSE;
}

BOOL QelIsValidFileName(const wchar_t* name)
{
    if (!name)
        return FALSE;
    if (wcslen(name) >= MAX_PATH)
        return FALSE;
    return wcspbrk(name, kInvalidNameChars) ? FALSE : TRUE;
}

void QelMakeValidFileName(std::wstring& name)
{
    if (QelIsValidFileName(name.c_str()))
        return;
    if (name.size() >= MAX_PATH)
        name.resize(MAX_PATH - 1);
    for (auto& c : name)
        if (wcschr(kInvalidNameChars, c) && c)
            c = L'-';
    for (size_t pos = name.find(L"--"); pos != std::wstring::npos; pos = name.find(L"--"))
        name.erase(pos, 1);
    const size_t first = name.find_first_not_of(L' ');
    name = first == std::wstring::npos ? std::wstring() : name.substr(first, name.find_last_not_of(L' ') - first + 1);
    const size_t firstKept = name.find_first_not_of(L'-');
    name = firstKept == std::wstring::npos ? std::wstring()
                                           : name.substr(firstKept, name.find_last_not_of(L'-') - firstKept + 1);
}

std::wstring QelGetValidFileName(const wchar_t* name)
{
    std::wstring copy(name ? name : L"");
    QelMakeValidFileName(copy);
    return copy;
}
