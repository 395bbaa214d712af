#pragma once
// Switches a window's redrawing off for one scope, around a refill, and back on
// with one repaint of the whole client area:
//
//   { CQelRedrawLock lock(tree); ...refill...; }
//
// Guards are not counted: an inner guard on the same window turns redrawing on as it ends.
#include <windows.h>

class CQelRedrawLock {
public:
    explicit CQelRedrawLock(HWND window) : m_window(window) { Lock(); }
    CQelRedrawLock(const CQelRedrawLock&) = delete;
    CQelRedrawLock& operator=(const CQelRedrawLock&) = delete;
    ~CQelRedrawLock() { Unlock(); }

    // FALSE when there is no window or this guard holds it already.
    BOOL Lock()
    {
        if (!m_window || m_locked)
            return FALSE;
        ::SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
        m_locked = TRUE;
        return TRUE;
    }
    void Unlock()
    {
        if (!m_window || !m_locked)
            return;
        m_locked = FALSE;
        ::SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
        RECT client{};
        ::GetClientRect(m_window, &client);
        ::InvalidateRect(m_window, &client, FALSE);
    }

private:
    HWND m_window = nullptr;
    BOOL m_locked = FALSE;
};
