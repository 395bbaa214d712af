#include "foundation/WindowsVersion.h"

namespace {

BOOL ReadVersion(OSVERSIONINFOW& info)
{
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        info = *reinterpret_cast<OSVERSIONINFOW*>(&extended);
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        return TRUE;
    }
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    return ::GetVersionExW(&info);
}

bool AtLeast(const OSVERSIONINFOW& info, DWORD major, DWORD minor)
{
    return info.dwMajorVersion > major || (info.dwMajorVersion == major && info.dwMinorVersion >= minor);
}

bool Is(const OSVERSIONINFOW& info, DWORD major, DWORD minor)
{
    return info.dwMajorVersion == major && info.dwMinorVersion == minor;
}

} // namespace

int QelGetWindowsVersion()
{
    OSVERSIONINFOW info;
    if (!ReadVersion(info))
        return 0;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (Is(info, 4, 0))
            return 2;
        if (Is(info, 4, 10))
            return 3;
        if (Is(info, 4, 90))
            return 4;
        return 0;
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion < 5)
            return 5;
        if (Is(info, 5, 0))
            return 6;
        if (Is(info, 5, 1))
            return 7;
        if (Is(info, 5, 2))
            return 8;
        return 9;
    default:
        return 0;
    }
}

BOOL QelIsVistaOrLater()
{
    return QelGetWindowsVersion() == 9;
}

namespace QelGlobals {

const OSVERSIONINFOW& QelGetOSVersionInfo()
{
    static const OSVERSIONINFOW info = [] {
        OSVERSIONINFOW read{};
        read.dwOSVersionInfoSize = sizeof read;
        ::GetVersionExW(&read);
        return read;
    }();
    return info;
}

namespace {
const OSVERSIONINFOW& Info() { return QelGetOSVersionInfo(); }
bool Win9x() { return Info().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
bool NT() { return Info().dwPlatformId == VER_PLATFORM_WIN32_NT; }
bool NTOrLater() { return Info().dwPlatformId >= VER_PLATFORM_WIN32_NT; }
} // namespace

BOOL IsWin32s() { return Info().dwPlatformId == VER_PLATFORM_WIN32s; }
BOOL IsWin9x() { return Win9x(); }
BOOL IsWin95() { return Win9x() && Info().dwMajorVersion == 4 && Info().dwMinorVersion < 10; }
BOOL IsWin98() { return Win9x() && Is(Info(), 4, 10); }
BOOL IsWinMe() { return Win9x() && Is(Info(), 4, 90); }
BOOL IsWin95OrLater() { return Win9x() && Info().dwMajorVersion >= 4; }
BOOL IsWin98OrLater() { return Win9x() && AtLeast(Info(), 4, 10); }
BOOL IsWinMeOrLater() { return Win9x() && AtLeast(Info(), 4, 90); }
BOOL IsWinNT4() { return NT() && Is(Info(), 4, 0); }
BOOL IsWin2000() { return NT() && Is(Info(), 5, 0); }
BOOL IsWinXP() { return NT() && Is(Info(), 5, 1); }
BOOL IsWinNT4OrLater() { return NTOrLater() && Info().dwMajorVersion >= 4; }
BOOL IsWin2000OrLater() { return NTOrLater() && Info().dwMajorVersion >= 5; }
BOOL IsWinXPOrLater() { return NTOrLater() && AtLeast(Info(), 5, 1); }
BOOL IsWinVistaOrLater() { return NTOrLater() && AtLeast(Info(), 6, 0); }
BOOL IsWin2000OrLaterOrMidEast() { return IsWin2000OrLater() || ::GetSystemMetrics(SM_MIDEASTENABLED) != 0; }

} // namespace QelGlobals
