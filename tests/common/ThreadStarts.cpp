#include "common/ThreadStarts.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <iterator>

#include "framework/Handle.h"

namespace {

// Plain data: the callback may run before any constructor. Identifiers are kept once seen,
// so that a thread that has already ended is never waited for.
SRWLOCK g_lock = SRWLOCK_INIT;
CONDITION_VARIABLE g_startedOne = CONDITION_VARIABLE_INIT;
DWORD g_started[4096];
size_t g_startedCount = 0;
bool g_tooMany = false;

// The system calls the program's TLS callbacks in a new thread once it has started, before its own code.
void NTAPI OnThreadEvent(PVOID, DWORD reason, PVOID)
{
    if (reason != DLL_THREAD_ATTACH)
        return;
    AcquireSRWLockExclusive(&g_lock);
    if (g_startedCount < std::size(g_started))
        g_started[g_startedCount++] = GetCurrentThreadId();
    else
        g_tooMany = true;
    ReleaseSRWLockExclusive(&g_lock);
    WakeAllConditionVariable(&g_startedOne);
}

// Under the lock: another thread of this process has not reached the callback yet.
bool AnyThreadStarting()
{
    const CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (!snapshot || !Thread32First(snapshot.Get(), &entry))
        return false;
    const DWORD* const begin = g_started;
    const DWORD* const end = begin + g_startedCount;
    do {
        if (entry.th32OwnerProcessID == GetCurrentProcessId() && entry.th32ThreadID != GetCurrentThreadId() &&
            std::find(begin, end, entry.th32ThreadID) == end)
            return true;
    } while (Thread32Next(snapshot.Get(), &entry));
    return false;
}

}  // namespace

extern "C" __attribute__((section(".CRT$XLF"), used)) const PIMAGE_TLS_CALLBACK tessary_thread_started = OnThreadEvent;

void WaitForStartingThreads()
{
    AcquireSRWLockExclusive(&g_lock);
    while (!g_tooMany && AnyThreadStarting())
        SleepConditionVariableSRW(&g_startedOne, &g_lock, INFINITE, 0);
    ReleaseSRWLockExclusive(&g_lock);
}
