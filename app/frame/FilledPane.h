#pragma once
// A child window that paints only its background, in the window colour through a
// memory bitmap; its children draw the rest. The document pane and its search area
// derive from it and chain their messages to it.
#include <windows.h>

#include "framework/DoubleBuffer.h"
#include "framework/WindowObject.h"

class CFilledPane : public CWindowObject, public CDoubleBufferPaint {
public:
    void DoPaint(HDC dc) override
    {
        const RECT client = GetClientRect();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
            return TRUE;
        return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }

protected:
    // A class of this name with no background brush of its own.
    static CWindowClassInfo ClassNamed(const wchar_t* name)
    {
        CWindowClassInfo info;
        info.name = name;
        info.background = nullptr;
        return info;
    }
};
