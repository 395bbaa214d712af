#pragma once
// Runs this thread's messages until a condition holds, for controls and bindings that
// report through posted messages; the bound keeps a broken one from hanging the run.
#include <windows.h>

template <class Done>
bool PumpMessagesUntil(Done done, ULONGLONG bound = 20000)
{
    const ULONGLONG deadline = ::GetTickCount64() + bound;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
    }
    return true;
}
