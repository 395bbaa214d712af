#include "foundation/WindowState.h"

namespace {
constexpr LONG kSmallestSide = 10;
}

BOOL QelIsRestorableWindowRect(const RECT& rect)
{
    if (rect.right - rect.left < kSmallestSide || rect.bottom - rect.top < kSmallestSide)
        return FALSE;
    // A monitor that was there when the rectangle was saved may be gone.
    return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}
