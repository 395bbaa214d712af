#pragma once
// A window's own painting, printed through WM_PRINTCLIENT into a 24-bit DIB.
#include <windows.h>

#include <algorithm>

#include "framework/GdiOwners.h"
#include "framework/WindowRef.h"

class CPrintedClient {
public:
    explicit CPrintedClient(HWND window) : m_size(CWindowRef(window).GetClientRect())
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_size.right, -m_size.bottom, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<const BYTE*>(bits);
        const CMemoryDc dc(::CreateCompatibleDC(nullptr));
        const CSelectScope select(dc, m_bitmap);
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        ::GdiFlush();
    }

    COLORREF Pixel(int x, int y) const
    {
        const BYTE* pixel = m_bits + y * ((m_size.right * 3 + 3) & ~3) + x * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    // The smallest rectangle holding every pixel inside `within` that is not the background.
    RECT InkBounds(const RECT& within, COLORREF background) const
    {
        RECT ink{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        for (LONG y = within.top; y < within.bottom; ++y)
            for (LONG x = within.left; x < within.right; ++x)
                if (Pixel(x, y) != background)
                    ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                           std::max(ink.bottom, y + 1)};
        return ink;
    }

private:
    RECT m_size;
    CBitmapOwner m_bitmap;
    const BYTE* m_bits = nullptr;
};
