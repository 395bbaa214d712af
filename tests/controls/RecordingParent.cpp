#include "RecordingParent.h"

#include <algorithm>

int CRecordingParent::Count(UINT message) const
{
    return static_cast<int>(std::count_if(received.begin(), received.end(),
                                          [&](const MSG& msg) { return msg.message == message; }));
}

int CRecordingParent::Count(UINT message, WPARAM wParam) const
{
    return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const MSG& msg) {
        return msg.message == message && msg.wParam == wParam;
    }));
}

BOOL CRecordingParent::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                            DWORD mapId)
{
    if (message == WM_COMMAND || (message >= WM_USER && message < WM_APP))
        received.push_back(MSG{hwnd, message, wParam, lParam, 0, {}});
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void PumpWaitingMessages()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
