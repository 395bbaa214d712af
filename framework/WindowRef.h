#pragma once
// A window handle that owns nothing, with the calls our windows make most often.
// Window objects derive from it; controls wrap a handle they were given in it.
#include <windows.h>

#include <string>

class CWindowRef {
public:
    CWindowRef() = default;
    CWindowRef(HWND window) : m_hWnd(window) {}  // NOLINT: converts like the handle it wraps

    operator HWND() const { return m_hWnd; }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, msg, w, l); }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageW(m_hWnd, msg, w, l); }

    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add) const
    {
        const LONG_PTR old = GetStyle();
        const LONG_PTR changed = (old & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add);
        if (changed == old)
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, changed);
        return TRUE;
    }

    RECT GetClientRect() const
    {
        RECT rect{};
        ::GetClientRect(m_hWnd, &rect);
        return rect;
    }
    RECT GetWindowRect() const
    {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }
    // The window's rectangle in its parent's client coordinates.
    RECT GetRectInParent() const
    {
        RECT rect = GetWindowRect();
        ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE) const
    {
        return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    BOOL SetWindowPos(HWND after, const RECT& rect, UINT flags) const
    {
        return ::SetWindowPos(m_hWnd, after, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              flags);
    }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL InvalidateRect(const RECT& rect, BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, &rect, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    // The handle is forgotten by the object's own final hook where there is one.
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }

    BOOL ScreenToClient(POINT& point) const { return ::ScreenToClient(m_hWnd, &point); }
    BOOL ClientToScreen(POINT& point) const { return ::ClientToScreen(m_hWnd, &point); }

    std::wstring GetWindowText() const
    {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    BOOL SetWindowText(const wchar_t* text) const { return ::SetWindowTextW(m_hWnd, text); }
    std::wstring GetDlgItemText(int id) const { return CWindowRef(GetDlgItem(id)).GetWindowText(); }
    BOOL SetDlgItemText(int id, const wchar_t* text) const { return ::SetDlgItemTextW(m_hWnd, id, text); }

    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
    }

    // Centres the window over its owner, or over the work area when it has none.
    BOOL CenterWindow(HWND over = nullptr) const;

    HWND m_hWnd = nullptr;
};

// Signed coordinates of a mouse message, as multi-monitor setups need.
inline POINT PointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
