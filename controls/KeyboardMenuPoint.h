#pragma once
// Where a context menu asked for from the keyboard (Shift+F10, the menu key) opens in a
// list or tree: below the shown part of the item it applies to, else at the control's corner.
#include <windows.h>

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
