#include "controls/SubclassedControl.h"

#include <commctrl.h>

HWND CQelSubclassedControl::Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style, DWORD exStyle,
                                   UINT_PTR id)
{
    if (m_hWnd)
        return nullptr;
    if (m_commonControls) {
        const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), m_commonControls};
        ::InitCommonControlsEx(&init);
    }
    const HWND window = ::CreateWindowExW(exStyle ? exStyle : DefaultExStyle(), m_systemClass, text,
                                          style ? style : DefaultStyle(), rect.left, rect.top,
                                          rect.right - rect.left, rect.bottom - rect.top, parent,
                                          reinterpret_cast<HMENU>(id), FrameworkInstance(), nullptr);
    if (!window)
        return nullptr;
    if (!SubclassWindow(window)) {
        ::DestroyWindow(window);
        return nullptr;
    }
    OnInitControl();
    return m_hWnd;
}

BOOL CQelSubclassedControl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT& result, DWORD mapId)
{
    if (message == WM_DESTROY) {
        OnDestroyControl();
        result = DefWindowProc(message, wParam, lParam);
        return TRUE;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
