#pragma once
// A 24-bit DIB with a memory DC, for pixel assertions: either painted by a test, or
// holding a window's client area as WM_PRINTCLIENT paints it.
#include <windows.h>

#include <string>

#include "framework/GdiOwners.h"

class CPixelCapture {
public:
    // Starts filled with background.
    CPixelCapture(int width, int height, COLORREF background = RGB(255, 255, 255));
    // The window's client area, painted through WM_PRINTCLIENT.
    explicit CPixelCapture(HWND window);
    ~CPixelCapture();
    CPixelCapture(const CPixelCapture&) = delete;
    CPixelCapture& operator=(const CPixelCapture&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // CLR_INVALID outside the picture.
    COLORREF At(int x, int y) const;
    // Writes the picture as a 24-bit BMP file.
    bool SaveBmp(const std::wstring& path) const;

private:
    int m_width;
    int m_height;
    CMemoryDc m_dc;
    CBitmapOwner m_bitmap;
    void* m_bits = nullptr;
    HGDIOBJ m_previous = nullptr;
};
