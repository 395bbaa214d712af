#pragma once
// Which Windows the program runs on.

#include <windows.h>

// 1 Win32s; 2, 3, 4 Windows 95, 98, Me; 5 NT 4 and older, 6 2000, 7 XP,
// 8 Server 2003, 9 Vista and later; 0 when unknown.
int QelGetWindowsVersion();
BOOL QelIsVistaOrLater();

namespace QelGlobals {

// Tests on one version record read once per process.
const OSVERSIONINFOW& QelGetOSVersionInfo();

BOOL IsWin32s();
BOOL IsWin9x();
BOOL IsWin95();
BOOL IsWin98();
BOOL IsWinMe();
BOOL IsWin95OrLater();
BOOL IsWin98OrLater();
BOOL IsWinMeOrLater();
BOOL IsWinNT4();
BOOL IsWin2000();
BOOL IsWinXP();
BOOL IsWinNT4OrLater();
BOOL IsWin2000OrLater();
BOOL IsWinXPOrLater();
BOOL IsWinVistaOrLater();
BOOL IsWin2000OrLaterOrMidEast();

} // namespace QelGlobals
