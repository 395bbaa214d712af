#pragma once
// A kit control whose context menu holds one command, "Open" (100), and which notes
// where the menu opened on the screen. The menu closes at once unless a derived probe
// does something else with it in OnMenuShown.
#include <windows.h>

#include "framework/GdiOwners.h"

constexpr UINT kProbeOpenCommand = 100;

template <class Control>
class CContextMenuProbe : public Control {
public:
    RECT menuRect{};

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            const HWND popup = lParam ? reinterpret_cast<HWND>(lParam) : ::FindWindowW(L"#32768", nullptr);
            ::GetWindowRect(popup, &menuRect);
            OnMenuShown(popup);
        }
        return Control::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }

protected:
    HMENU GetContextMenu() override
    {
        if (!m_menu) {
            m_menu.Attach(::CreatePopupMenu());
            ::AppendMenuW(m_menu, MF_STRING, kProbeOpenCommand, L"Open");
        }
        return m_menu;
    }
    virtual void OnMenuShown(HWND) { ::EndMenu(); }

private:
    CMenuOwner m_menu;
};
