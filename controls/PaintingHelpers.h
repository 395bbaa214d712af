#pragma once
// The kit's one look: rounded blue selection boxes, grey two-band button faces,
// fading groove lines, and the menu font every control draws its text in. Each
// painter draws on the caller's DC and leaves its state as it found it.
#include <windows.h>

#include "framework/GdiOwners.h"

// Bits of QelDrawStateBackground's flags; selected wins over hot, hot over focused.
constexpr UINT QelStateSelected = 1;
constexpr UINT QelStateHot = 2;
constexpr UINT QelStateFocused = 4;

// A row as tall as a menu line with a little air; list box and tree rows share it.
int QelMenuRowHeight();

// The system menu font at weight 700 when bold, else 400; TRUE when a font was made.
BOOL QelCreateUIFont(CFontOwner& font, BOOL bold, BYTE underline, BYTE italic);

// Fills rect with fill, then the look of the highest state in flags. A selected item is
// blue while window has the focus, grey otherwise.
void QelDrawStateBackground(HWND window, HDC dc, const RECT& rect, UINT flags, COLORREF fill);
void QelDrawSelectionBox(HDC dc, const RECT& rect, COLORREF fill, COLORREF outer, COLORREF inner, COLORREF top,
                         COLORREF bottom);
void QelDrawFocusBox(HDC dc, const RECT& rect, COLORREF fill, COLORREF outer, COLORREF inner);

// Button and bar faces: white to grey above splitY, a grey band below it.
void QelDrawTwoBandGradient(HDC dc, const RECT& rect, int splitY, BOOL darker);
void QelDrawHotButtonFace(HDC dc, const RECT& rect, int splitY);
void QelDrawPressedButtonFace(HDC dc, const RECT& rect, int splitY);
void QelDrawFlatButtonFace(HDC dc, const RECT& rect, BOOL hot);

// Vertical lines only: shades the pixels already there, most at the middle.
void QelDrawLightGrooveLine(HDC dc, POINT from, POINT to);
void QelDrawDarkGrooveLine(HDC dc, POINT from, POINT to);

// Lighten never darkens (factors below 1 count as 1); darken never lightens.
COLORREF QelLightenColor(COLORREF color, float factor);
COLORREF QelDarkenColor(COLORREF color, float factor);

// A vertical gradient from top to bottom colour over rect.
void QelFillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
void QelFillSolidRect(HDC dc, const RECT& rect, COLORREF color);

// A memory DC over rect of a target DC, in the target's coordinates; what was drawn on
// it is copied to the target when it goes. Without memory it draws on the target.
class CQelBufferedDc {
public:
    CQelBufferedDc(HDC target, const RECT& rect);
    CQelBufferedDc(const CQelBufferedDc&) = delete;
    CQelBufferedDc& operator=(const CQelBufferedDc&) = delete;
    ~CQelBufferedDc();
    operator HDC() const { return m_memory ? m_memory.Get() : m_target; }  // NOLINT

private:
    HDC m_target;
    RECT m_rect;
    CMemoryDc m_memory;
    CBitmapOwner m_bitmap;
    HGDIOBJ m_previous = nullptr;
};
