#pragma once
// The subclass of a browser's inner "Internet Explorer_Server" window: it answers the
// registered "WM_HTML_GETOBJECT" with 0, so the window never hands out the page's
// document object through that message. Every other message passes.
#include <windows.h>

#include "framework/WindowObject.h"

class CReaderBrowserCoreWindow : public CWindowObject {
public:
    CReaderBrowserCoreWindow() : m_getObjectMessage(::RegisterWindowMessageW(L"WM_HTML_GETOBJECT")) {}

    // The browser's inner window: the window itself when it is one, else its first such descendant.
    static HWND FindCoreWindow(HWND browser);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    const UINT m_getObjectMessage;
};
