#pragma once
// A plain child window whose children each fill its client area; one of them is
// shown at a time.
#include "framework/WindowObject.h"

class CQelControlContainer : public CWindowObject {
public:
    // Hides every other child, shows this one and gives it the focus.
    void ShowChild(HWND child);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
};
