#include "app/views/ReaderBrowserCoreWindow.h"

namespace {

constexpr wchar_t kCoreWindowClass[] = L"Internet Explorer_Server";

BOOL IsCoreWindow(HWND window)
{
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    return ::lstrcmpW(name, kCoreWindowClass) == 0;
}

BOOL CALLBACK FindFirstCoreWindow(HWND window, LPARAM found)
{
    if (!IsCoreWindow(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND CReaderBrowserCoreWindow::FindCoreWindow(HWND browser)
{
    if (!browser || IsCoreWindow(browser))
        return browser;
    HWND found = nullptr;
    ::EnumChildWindows(browser, FindFirstCoreWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CReaderBrowserCoreWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT& result, DWORD mapId)
{
    if (message == m_getObjectMessage) {
        result = 0;
        return TRUE;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
