#include "foundation/Folders.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>

#include "foundation/Files.h"
#include "foundation/Paths.h"

namespace {

std::wstring WithSeparator(std::wstring folder)
{
    QelAppendPathSeparator(folder);
    return folder;
}

std::wstring ShellFolder(int csidl, bool fallBackToProgram)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return fallBackToProgram ? QelGetExeFolder() : std::wstring();
    PathAddBackslashW(path);
    return path;
}

// {A520A1A4-1780-4FF6-BD18-167343C5AF16}
const GUID kFolderLocalAppDataLow = {0xA520A1A4, 0x1780, 0x4FF6, {0xBD, 0x18, 0x16, 0x73, 0x43, 0xC5, 0xAF, 0x16}};

}  // namespace

std::wstring QelGetExePath()
{
    // The program's file does not move while it runs; the data folder, the
    // settings file and every code-page conversion ask for it.
    static const std::wstring path = [] {
        wchar_t module[1024] = {};
        const DWORD length = GetModuleFileNameW(nullptr, module, 1024);
        if (!length || length >= 1024)
            return std::wstring();
        std::wstring longPath = QelGetLongPathName(module);
        if (!longPath.empty())
            longPath[0] = static_cast<wchar_t>(towupper(longPath[0]));
        return longPath;
    }();
    return path;
}

std::wstring QelGetExeFolder() { return QelExtractFilePath(QelGetExePath().c_str()); }

std::wstring QelGetModuleFolder(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return std::wstring();
    return QelExtractFilePath(path);
}

std::wstring QelBuildDataFolderPath()
{
    const std::wstring folder = QelGetExeFolder() + L"Data\\";
    QelEnsureFolder(folder.c_str());
    return folder;
}

std::wstring QelGetDataFolder() { return QelBuildDataFolderPath(); }

std::wstring QelGetTempPath()
{
    wchar_t path[1024] = {};
    const DWORD length = GetTempPathW(1024, path);
    if (!length || length >= 1024)
        return std::wstring();
    return WithSeparator(path);
}

std::wstring QelGetSystemFolder()
{
    wchar_t path[1024] = {};
    const UINT length = GetSystemDirectoryW(path, 1024);
    return length && length < 1024 ? WithSeparator(path) : std::wstring();
}

std::wstring QelGetWindowsFolder()
{
    wchar_t path[1024] = {};
    const UINT length = GetWindowsDirectoryW(path, 1024);
    return length && length < 1024 ? WithSeparator(path) : std::wstring();
}

std::wstring QelGetProgramFilesFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PROGRAM_FILES, TRUE))
        return std::wstring();
    return WithSeparator(path);
}

std::wstring QelGetMyDocumentsFolder()
{
    static const std::wstring folder = ShellFolder(CSIDL_PERSONAL | CSIDL_FLAG_CREATE, true);
    return folder;
}

std::wstring QelGetAppDataFolder()
{
    static const std::wstring folder = ShellFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE, true);
    return folder;
}

std::wstring QelGetLocalAppDataLowFolder()
{
    static const std::wstring folder = [] {
        using GetKnownFolderPath = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);
        const HMODULE shell = GetModuleHandleW(L"shell32.dll");
        const auto get = shell ? reinterpret_cast<GetKnownFolderPath>(
                                     reinterpret_cast<void*>(GetProcAddress(shell, "SHGetKnownFolderPath")))
                               : nullptr;
        PWSTR path = nullptr;
        if (!get || FAILED(get(kFolderLocalAppDataLow, 0, nullptr, &path)) || !path) {
            CoTaskMemFree(path);
            return std::wstring();
        }
        std::wstring result = WithSeparator(path);
        CoTaskMemFree(path);
        QelEnsureFolder(result.c_str());
        return result;
    }();
    return folder;
}

std::wstring QelGetUserProfileFolder()
{
    static const std::wstring folder = ShellFolder(CSIDL_PROFILE, false);
    return folder;
}

std::wstring QelGetComputerName()
{
    wchar_t name[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!GetComputerNameExW(ComputerNameNetBIOS, name, &size))
        return std::wstring();
    return name;
}
