// tessary-shot PROGRAM PICTURE.bmp: starts PROGRAM in its own folder, waits for its
// first input idle, saves its window as the screen shows it (taken from the screen's
// DC, as Wine paints it), closes that window with WM_CLOSE and exits with PROGRAM's
// exit code; 2 when PROGRAM shows no window, 3 when it does not end.
#include <windows.h>

#include <cstdio>
#include <string>

#include "PixelCapture.h"
#include "ProcessWindow.h"
#include "framework/GdiOwners.h"
#include "framework/Handle.h"

namespace {

constexpr DWORD kPatience = 60000;  // ms for the window to come or the program to end

// The process's first window, once it shows one.
HWND WaitForWindowOf(DWORD processId, HANDLE process)
{
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
        const HWND found = FindProcessWindow(processId);
        if (found || ::WaitForSingleObject(process, 50) != WAIT_TIMEOUT)
            return found;
    }
    return nullptr;
}

bool Capture(HWND window, const std::wstring& path)
{
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::IntersectRect(&frame, &frame, &screen);
    if (::IsRectEmpty(&frame))
        return false;
    CPixelCapture picture(frame.right - frame.left, frame.bottom - frame.top);
    const CWindowDc screenDc(nullptr);
    ::BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), screenDc, frame.left, frame.top, SRCCOPY);
    return picture.SaveBmp(path);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fwprintf(stderr, L"usage: tessary-shot PROGRAM PICTURE.bmp\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        fwprintf(stderr, L"tessary-shot: cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
        return 2;
    }
    ::CloseHandle(info.hThread);
    const CHandle process(info.hProcess);
    ::WaitForInputIdle(process.Get(), kPatience);
    const HWND window = WaitForWindowOf(info.dwProcessId, process.Get());
    if (!window) {
        fwprintf(stderr, L"tessary-shot: %ls showed no window\n", program.c_str());
        if (::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
            ::TerminateProcess(process.Get(), 2);
        return 2;
    }
    // Answered once the program waits for messages again, when Wine has put its
    // painted windows on the screen.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &ignored);
    if (Capture(window, argv[2]))
        wprintf(L"Saved the window to %ls\n", argv[2]);
    else
        fwprintf(stderr, L"tessary-shot: cannot save %ls\n", argv[2]);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), kPatience) != WAIT_OBJECT_0) {
        fwprintf(stderr, L"tessary-shot: %ls did not end after WM_CLOSE\n", program.c_str());
        ::TerminateProcess(process.Get(), 3);
        return 3;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<int>(code);
}
