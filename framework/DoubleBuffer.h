#pragma once
// Flicker-free painting for a window object: the background is never erased on
// its own, and WM_PAINT paints through DoPaint into a memory bitmap over the
// update rectangle, in client coordinates, then copies it to the screen. A DC
// given in WM_PAINT's wParam or in WM_PRINTCLIENT is painted directly.
//
//   BOOL ProcessWindowMessage(...) override
//   { if (ProcessDoubleBuffer(hwnd, m, w, l, r)) return TRUE; ... }
#include <windows.h>

// A 32-bit DIB section to paint into before copying to dc. Wine asks its server about the
// display at each selection of a screen-compatible bitmap, and ImageList_Draw makes one for
// each icon it draws on a DC holding one; Windows paints either kind alike.
HBITMAP CreatePaintBufferBitmap(HDC dc, int width, int height);

class CDoubleBufferPaint {
public:
    virtual void DoPaint(HDC dc) = 0;
    BOOL ProcessDoubleBuffer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    ~CDoubleBufferPaint() = default;
};
