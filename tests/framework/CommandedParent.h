#pragma once
// A top-level parent that records the last WM_COMMAND its children send it.
#include "framework/WindowObject.h"

class CCommandedParent : public CWindowObject {
public:
    WPARAM command = 0;
    LPARAM from = 0;
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (message != WM_COMMAND)
            return FALSE;
        command = wParam;
        from = lParam;
        result = 0;
        return TRUE;
    }

protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};
