#pragma once
// Runs a copy of Tessary.exe from a folder of its own (its Data\ beside it), finds
// the windows of that process, fills and presses their controls, and waits for its end.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handle.h"

class CProgramRun {
public:
    // A fresh folder holding a copy of the program.
    CProgramRun();
    ~CProgramRun();
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring DataFolder() const { return m_folder + L"Data\\"; }
    // An account as the program stores one: Data\<user name>\index.db.
    bool AddAccount(const wchar_t* userName, const wchar_t* password) const;

    bool Start();
    // A visible top-level window of this process whose class begins with classPrefix
    // (nullptr: any) and whose title is title (nullptr: any); nullptr after the time-out.
    HWND WaitForWindow(const wchar_t* classPrefix, const wchar_t* title) const;
    // Every visible top-level window of this process now.
    std::vector<HWND> Windows() const;
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit() const;

    // What a user does in a dialog of the process.
    static void SetText(HWND dialog, int id, const wchar_t* text);
    static std::wstring GetText(HWND dialog, int id);
    static void Press(HWND dialog, int id);
    static bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

private:
    std::wstring m_folder;
    CHandle m_process;
    DWORD m_processId = 0;
};
