#pragma once
// A top-level window's placement (maximized, or its rectangle) kept in one
// section of the settings file. Base class of the window it serves:
//
//   class CMainFrame : public CQelWindowState<CMainFrame, CTessarySettings> { HWND m_hWnd; ... };
//
// The window reaches the placement through its own handle, m_hWnd, and chains
// ProcessWindowMessage from its message handling so that closing saves it.

#include <windows.h>

#include <string>

// A saved rectangle worth restoring: big enough to use and on some monitor.
BOOL QelIsRestorableWindowRect(const RECT& rect);

template <class TWindow, class TSettings>
class CQelWindowState {
public:
    explicit CQelWindowState(const wchar_t* section) : m_section(section ? section : L"") {}

    // After creation: maximized, or moved to the saved rectangle, or left where
    // it was created; shown only when show is TRUE.
    virtual void RestoreState(BOOL show)
    {
        if (m_section.empty())
            return;
        HWND window = StateWindow();
        TSettings settings;
        const wchar_t* section = m_section.c_str();
        if (settings.GetBool(section, L"Maximized", FALSE)) {
            if (show)
                ::ShowWindow(window, SW_SHOWMAXIMIZED);
            return;
        }
        const RECT rect{settings.GetInt(section, L"Left", 0), settings.GetInt(section, L"Top", 0),
                        settings.GetInt(section, L"Right", 0), settings.GetInt(section, L"Bottom", 0)};
        if (QelIsRestorableWindowRect(rect)) {
            ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
            if (show)
                ::ShowWindow(window, SW_SHOW);
        } else if (show) {
            ::ShowWindow(window, SW_SHOWDEFAULT);
        }
    }

    // A maximized window keeps the last normal rectangle stored; a minimized
    // one changes nothing.
    virtual void SaveState()
    {
        if (m_section.empty())
            return;
        HWND window = StateWindow();
        const LONG style = ::GetWindowLongW(window, GWL_STYLE);
        if (!(style & WS_MAXIMIZE) && (style & WS_MINIMIZE))
            return;
        TSettings settings;
        const wchar_t* section = m_section.c_str();
        if (style & WS_MAXIMIZE) {
            settings.SetBool(section, L"Maximized", TRUE);
            return;
        }
        settings.SetBool(section, L"Maximized", FALSE);
        RECT rect{};
        ::GetWindowRect(window, &rect);
        settings.SetInt(section, L"Left", rect.left);
        settings.SetInt(section, L"Top", rect.top);
        settings.SetInt(section, L"Right", rect.right);
        settings.SetInt(section, L"Bottom", rect.bottom);
    }

    // TRUE when the message was handled. WM_CLOSE never is: the placement is
    // saved and the window's own close handling still runs.
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId = 0)
    {
        if (mapId != 0 || message != WM_CLOSE)
            return FALSE;
        BOOL handled = TRUE;
        result = OnClose(message, wParam, lParam, handled);
        return handled;
    }

    const std::wstring& GetStateSection() const { return m_section; }

protected:
    ~CQelWindowState() = default;

    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        if (!m_section.empty())
            SaveState();
        handled = FALSE;
        return 0;
    }

private:
    HWND StateWindow() { return static_cast<TWindow*>(this)->m_hWnd; }

    std::wstring m_section;
};
