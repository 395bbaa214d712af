#include "foundation/Files.h"

#include <objbase.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>

#include "foundation/DateTime.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Paths.h"
#include "foundation/StdioFile.h"
#include "foundation/Streams.h"
#include "foundation/Strings.h"
#include "framework/Handle.h"

namespace {

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The part of a path that is never created: "C:\", "\", "\\server\share\", "\\?\C:\".
size_t RootLength(const std::wstring& path)
{
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t pos = 2;
        int pieces = 2;  // server and share
        if (path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) {
            pos = 4;
            if (!_wcsnicmp(path.c_str() + 4, L"UNC\\", 4))
                pos = 8;
            else
                pieces = 1;  // the drive after the prefix
        }
        for (; pieces > 0 && pos < path.size(); --pieces) {
            while (pos < path.size() && !IsSeparator(path[pos]))
                ++pos;
            if (pos < path.size())
                ++pos;
        }
        return pos;
    }
    if (path.size() >= 2 && path[1] == L':')
        return (path.size() >= 3 && IsSeparator(path[2])) ? 3 : 2;
    if (!path.empty() && IsSeparator(path[0]))
        return 1;
    return 0;
}

// "C:\x" or "\\server\share\x": a path that names the same folder whatever the
// current folder and drive are.
bool IsFullPath(const wchar_t* path)
{
    return (iswalpha(path[0]) && path[1] == L':' && IsSeparator(path[2])) ||
           (IsSeparator(path[0]) && IsSeparator(path[1]));
}

bool IsEmptyOrRoot(const wchar_t* folder)
{
    if (!folder || !*folder)
        return true;
    wchar_t full[1024] = {};
    const DWORD length = GetFullPathNameW(folder, 1024, full, nullptr);
    std::wstring path = (length && length < 1024) ? full : folder;
    while (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
    return path.empty() || RootLength(path) >= path.size();
}

bool HasEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW data{};
    const CFindHandle find(FindFirstFileW((folder + L"*.*").c_str(), &data));
    if (!find)
        return false;
    bool found = false;
    do
        found = wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..");
    while (!found && FindNextFileW(find.Get(), &data));
    return found;
}

__int64 FileSize64(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (static_cast<__int64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

BOOL QelCreateDirectoryIfMissing(const wchar_t* path)
{
    if (!path || !*path)
        return FALSE;
    if (PathExists(path))
        return TRUE;
    return CreateDirectoryW(path, nullptr);
}

BOOL QelCreateDirectoryTree(const wchar_t* path)
{
    const std::wstring whole(path ? path : L"");
    if (whole.empty())
        return FALSE;
    // The usual case, an existing folder, costs one lookup instead of one per level.
    if (FolderExists(whole))
        return TRUE;
    const size_t rootLength = RootLength(whole);
    std::wstring prefix = whole.substr(0, rootLength);
    std::vector<std::wstring> pieces;
    QelSplitText(QelReplaceCharCopy(whole.c_str() + rootLength, L'/', L'\\'), L'\\', pieces);
    for (const auto& piece : pieces) {
        if (piece.empty())
            continue;
        prefix += piece;
        prefix += L'\\';
        if (FolderExists(prefix))
            continue;
        if (!CreateDirectoryW(prefix.c_str(), nullptr) && !FolderExists(prefix))
            return FALSE;
    }
    return TRUE;
}

BOOL QelEnsureFolder(const wchar_t* path) { return QelCreateDirectoryTree(path); }

BOOL QelFileExists(const wchar_t* path)
{
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL QelFindFileData(const wchar_t* path, WIN32_FIND_DATAW& data)
{
    data = WIN32_FIND_DATAW{};
    if (!path || !*path)
        return FALSE;
    return CFindHandle(FindFirstFileW(path, &data)).IsValid() ? TRUE : FALSE;
}

DWORD QelGetFileSize(const wchar_t* path)
{
    WIN32_FIND_DATAW data;
    if (!QelFindFileData(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return data.nFileSizeLow;
}

__int64 QelGetFileModifiedTime(const wchar_t* path)
{
    WIN32_FIND_DATAW data;
    if (!QelFindFileData(path, data))
        return 0;
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &fields))
        return 0;
    return QelSystemTimeToTime(fields);
}

BOOL QelSaveBytesToFile(const void* data, DWORD length, const wchar_t* path)
{
    if (!path || !*path || (!data && length))
        return FALSE;
    const std::wstring folder = QelExtractFilePath(path);
    if (!folder.empty())
        QelCreateDirectoryIfMissing(folder.c_str());
    CQelStdioFile file = QelOpenFile(path, L"wb");
    if (!file)
        return FALSE;
    const bool written = !length || fwrite(data, 1, length, file.get()) == length;
    return QelCloseFile(file) && written;
}

BOOL QelCopyFile(const wchar_t* source, const wchar_t* target, BOOL failIfExists)
{
    // A missing or unreadable source must not leave an empty target behind.
    const __int64 size = FileSize64(source);
    if (size < 0 || !target || !*target)
        return FALSE;
    if (size > QEL_COPY_IN_MEMORY_LIMIT)
        return QelCopyLargeFile(source, target, failIfExists);
    if (failIfExists && PathExists(target))
        return FALSE;
    const auto stream = QelCreateMemoryStream();
    return stream && QelLoadFileToStream(source, stream.Get()) && QelSaveStreamToFile(stream.Get(), target);
}

BOOL QelCopyLargeFile(const wchar_t* source, const wchar_t* target, BOOL failIfExists)
{
    try {
        if (!source || !target || (failIfExists && PathExists(target)))
            return FALSE;
        const __int64 size = FileSize64(source);
        if (size < 0)
            return FALSE;
        // The source first, denying writers: a copy onto itself then fails to open
        // the target instead of truncating the source.
        CQelStdioFile in = QelOpenFile(source, L"rb", _SH_DENYWR);
        if (!in)
            return FALSE;
        CQelStdioFile out = QelOpenFile(target, L"wb", _SH_DENYNO);
        if (!out)
            return FALSE;
        std::vector<BYTE> buffer(QEL_COPY_IN_MEMORY_LIMIT);
        __int64 read = 0, written = 0;
        for (__int64 left = size; left > 0;) {
            const size_t piece = static_cast<size_t>(left < QEL_COPY_IN_MEMORY_LIMIT ? left : QEL_COPY_IN_MEMORY_LIMIT);
            if (piece == QEL_COPY_IN_MEMORY_LIMIT) {
                Sleep(1);
                QelPumpMessages();
            }
            const size_t got = fread(buffer.data(), 1, piece, in.get());
            read += static_cast<__int64>(got);
            written += static_cast<__int64>(fwrite(buffer.data(), 1, got, out.get()));
            if (got != piece)
                break;
            left -= static_cast<__int64>(piece);
        }
        const bool closed = QelCloseFile(out);
        return closed && read == size && written == size;
    } catch (...) {
        return FALSE;
    }
}

void QelPumpMessages()
{
    MSG message;
    bool quit = false;
    WPARAM exitCode = 0;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            exitCode = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (quit)
        PostQuitMessage(static_cast<int>(exitCode));
}

BOOL QelDeleteFolderContents(const wchar_t* folder)
{
    // A relative path ("Data", ".\x", "C:") would empty whatever folder is current.
    if (IsEmptyOrRoot(folder) || !IsFullPath(folder))
        return FALSE;
    std::wstring path(folder);
    QelAppendPathSeparator(path);
    if (!FolderExists(path))
        return FALSE;
    if (!HasEntries(path))
        return TRUE;
    std::wstring pattern = path + L"*.*";
    if (pattern.size() >= 1024)
        return FALSE;
    pattern.push_back(L'\0');  // the list ends with two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = pattern.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

BOOL QelDeleteFolder(const wchar_t* folder)
{
    if (!QelDeleteFolderContents(folder))
        return FALSE;
    return RemoveDirectoryW(folder);
}

namespace {

bool IsDots(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

bool FilterTakes(const wchar_t* filter, const wchar_t* name)
{
    if (!filter || !wcscmp(filter, L"*.*"))
        return true;
    const std::wstring ext = QelExtractFileExt(name);
    if (ext.empty())
        return false;
    return QelStrStrI(filter, (L"*" + ext).c_str()) != nullptr;
}

template <typename Visit>
void ForEachEntry(const wchar_t* folder, UINT flags, Visit visit)
{
    std::wstring base(folder ? folder : L"");
    QelAppendPathSeparator(base);
    WIN32_FIND_DATAW data{};
    const CFindHandle find(FindFirstFileW((base + L"*.*").c_str(), &data));
    if (!find)
        return;
    do {
        if (IsDots(data.cFileName))
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !(flags & QEL_ENUM_HIDDEN))
            continue;
        visit(base, data);
    } while (FindNextFileW(find.Get(), &data));
}

}  // namespace

void QelEnumFiles(const wchar_t* folder, const wchar_t* filter, std::vector<std::wstring>& out, UINT flags)
{
    ForEachEntry(folder, flags, [&](const std::wstring& base, const WIN32_FIND_DATAW& data) {
        const std::wstring path = base + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (flags & QEL_ENUM_RECURSE)
                QelEnumFiles(path.c_str(), filter, out, flags);
        } else if (FilterTakes(filter, data.cFileName)) {
            out.push_back(path);
        }
    });
}

void QelEnumFolders(const wchar_t* folder, std::vector<std::wstring>& out, UINT flags)
{
    ForEachEntry(folder, flags, [&](const std::wstring& base, const WIN32_FIND_DATAW& data) {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        const std::wstring path = base + data.cFileName;
        out.push_back(path);
        if (flags & QEL_ENUM_RECURSE)
            QelEnumFolders(path.c_str(), out, flags);
    });
}

std::wstring QelGetFileVersionString(const wchar_t* modulePath)
{
    if (!modulePath || !*modulePath)
        return std::wstring();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(modulePath, &handle);
    if (!size)
        return std::wstring();
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!GetFileVersionInfoW(modulePath, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return std::wstring();
    wchar_t text[64] = {};
    swprintf(text, 64, L"%d.%d.%d.%d", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
             HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

void QelMakeUniqueFileName(std::wstring& path)
{
    const std::wstring folder = QelExtractFilePath(path.c_str());
    std::wstring title = QelExtractFileTitle(path.c_str());
    const std::wstring ext = QelExtractFileExt(path.c_str());
    if (path.size() >= 250) {
        const int room = 250 - static_cast<int>(folder.size() + ext.size());
        if (room > 0) {
            QelTruncate(title, static_cast<UINT>(room));
        } else {
            TessaryGetGlobal()->WriteLog(QelFormatString1(L"File name is too long: %1", path.c_str()).c_str());
            title = QelIntToStr(static_cast<int>(GetTickCount()));
        }
        path = folder + title + ext;
    }
    if (!PathExists(path))
        return;
    const size_t underscore = title.rfind(L'_');
    if (underscore != std::wstring::npos) {
        const std::wstring number = title.substr(underscore + 1);
        if (!number.empty() && QelIntToStr(_wtoi(number.c_str())) == number)
            title.erase(underscore);
    }
    for (int n = 2; n > 0; ++n) {
        const std::wstring candidate = folder + title + L"_" + QelIntToStr(n) + ext;
        if (!PathExists(candidate)) {
            path = candidate;
            return;
        }
    }
}

void QelMakeUniqueFolderName(std::wstring& folder)
{
    if (!PathExists(folder))
        return;
    QelRemovePathSeparator(folder);
    QelMakeUniqueFileName(folder);
    QelAppendPathSeparator(folder);
}
