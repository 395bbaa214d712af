#pragma once
// The context menu of a list or tree: where it opens when asked for from the keyboard
// (Shift+F10, the menu key), and the command chosen, which goes to the control itself.
#include <windows.h>

// Below the shown part of the item the menu applies to, else at the control's corner.
// item: the item's rectangle in client coordinates, empty for none. Screen coordinates.
inline POINT QelKeyboardMenuPoint(HWND control, const RECT& item)
{
    RECT client{};
    ::GetClientRect(control, &client);
    RECT shown{};
    POINT point{};
    if (::IntersectRect(&shown, &item, &client))
        point = POINT{shown.left, shown.bottom};
    ::ClientToScreen(control, &point);
    return point;
}

// Shows the menu at the screen point and sends the chosen command, if any, to the control.
inline void QelTrackContextMenu(HWND control, HMENU menu, POINT screen)
{
    const auto command = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, control, nullptr));
    if (command)
        ::SendMessageW(control, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
