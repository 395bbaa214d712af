#include "framework/DoubleBuffer.h"

#include "framework/GdiOwners.h"

HBITMAP CreatePaintBufferBitmap(HDC dc, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

BOOL CDoubleBufferPaint::ProcessDoubleBuffer(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        result = 0;
        break;
    default:
        return FALSE;
    }
    if (wParam || message == WM_PRINTCLIENT) {
        DoPaint(reinterpret_cast<HDC>(wParam));
        return TRUE;
    }
    const CPaintScope paint(window);
    const RECT& area = paint.Paint().rcPaint;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return TRUE;
    CMemoryDc memory(::CreateCompatibleDC(paint));
    CBitmapOwner bitmap(CreatePaintBufferBitmap(paint, width, height));
    if (!memory || !bitmap) {
        DoPaint(paint);  // out of memory for the bitmap: paint straight to the screen
        return TRUE;
    }
    const CSelectScope select(memory, bitmap);
    ::SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    DoPaint(memory);
    ::SetViewportOrgEx(memory, 0, 0, nullptr);
    ::BitBlt(paint, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    return TRUE;
}
