#pragma once
// A top-level window of our own class for tests of child controls: it reflects their
// notifications back to them, as the program's windows do, and keeps every WM_COMMAND
// and private (WM_USER and above) message the children send or post it.
#include <windows.h>

#include <vector>

#include "framework/WindowObject.h"

class CRecordingParent : public CWindowObject {
public:
    explicit CRecordingParent(DWORD exStyle = WS_EX_NOACTIVATE) : m_exStyle(exStyle) {}

    std::vector<MSG> received;
    int Count(UINT message) const;
    int Count(UINT message, WPARAM wParam) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    DWORD DefaultStyle() const override { return WS_POPUP | WS_VISIBLE; }
    DWORD DefaultExStyle() const override { return m_exStyle; }

private:
    DWORD m_exStyle;
};

// Handles every message waiting in this thread's queue.
void PumpWaitingMessages();
