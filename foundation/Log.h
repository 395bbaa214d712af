// The UTF-16 log: one line per call, begun again past 1 MB.
#pragma once

#include <windows.h>

constexpr DWORD QEL_LOG_SIZE_LIMIT = 0x100000;

// Appends "<long date> <time> (<ticks>): <text>" and CR LF; never fails loudly.
void QelWriteLogFile(const wchar_t* logPath, const wchar_t* text);
