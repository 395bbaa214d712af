// The visible top-level window of another process that no window owns, found by
// the process id (titles are no guide: several copies may run at once).
#pragma once

#include <windows.h>

#include <cwchar>

struct CProcessWindowSearch {
    DWORD processId;
    const wchar_t* classPrefix;  // nullptr: any class
    HWND found;
};

inline BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<CProcessWindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER))
        return TRUE;
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    if (search->classPrefix && wcsncmp(name, search->classPrefix, wcslen(search->classPrefix)) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// nullptr when the process shows no such window now.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* classPrefix = nullptr)
{
    CProcessWindowSearch search{processId, classPrefix, nullptr};
    ::EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
