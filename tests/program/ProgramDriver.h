#pragma once
// Runs a copy of Tessary.exe from a folder of its own (its Data\ beside it), finds
// the windows of that process, fills and presses their controls, and waits for its end.
// The run inherits this process's environment: a services stand-in started here is
// its proxy too.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Handle.h"

class CProgramRun {
public:
    static constexpr DWORD kPatience = 30000;  // ms for a window to come or the process to end
    // A whole sync, which the program runs on its own.
    static constexpr DWORD kSyncPatience = 120000;

    // A fresh folder holding a copy of the program.
    CProgramRun();
    ~CProgramRun();
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring DataFolder() const { return m_folder + L"Data\\"; }
    std::wstring LogFile() const { return DataFolder() + L"Tessary.log"; }
    // An account as the program stores one: Data\<user name>\index.db.
    bool AddAccount(const wchar_t* userName, const wchar_t* password) const;

    bool Start();
    // A visible top-level window of this process whose class begins with classPrefix
    // (nullptr: any) and whose title is title (nullptr: any); nullptr after the time-out.
    HWND WaitForWindow(const wchar_t* classPrefix, const wchar_t* title) const;
    // Such a window now, shown or hidden; nullptr when there is none.
    HWND FindWindow(const wchar_t* classPrefix, const wchar_t* title) const;
    // Every visible top-level window of this process now.
    std::vector<HWND> Windows() const;
    // Polls the condition while the process runs; false when it did not hold in time.
    bool WaitUntil(const std::function<bool()>& condition, DWORD patience = kPatience) const;
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit() const;

    // What a user does in a dialog of the process.
    static void SetText(HWND dialog, int id, const wchar_t* text);
    static std::wstring GetText(HWND dialog, int id);
    static void Press(HWND dialog, int id);
    static bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
    // Clicks a list box's item.
    static void ClickListBoxItem(HWND listBox, int index);
    // A control's whole text as WM_GETTEXT gives it (a rich edit's content too).
    static std::wstring ControlText(HWND control);
    // The first window below parent, depth first, of this class.
    static HWND FindDescendant(HWND parent, const wchar_t* className);
    // The window as the screen shows it, kept in the test output folder as name.bmp.
    static bool SaveScreenshot(HWND window, const wchar_t* name);

private:
    std::vector<HWND> TopLevelWindows(bool visibleOnly) const;
    HWND Matching(const wchar_t* classPrefix, const wchar_t* title, bool visibleOnly) const;

    std::wstring m_folder;
    CHandle m_process;
    DWORD m_processId = 0;
};
