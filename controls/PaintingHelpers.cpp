#include "controls/PaintingHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "framework/DoubleBuffer.h"

namespace {

struct CBoxColors {
    COLORREF outer;
    COLORREF inner;
    COLORREF top;
    COLORREF bottom;
};

const CBoxColors kSelectedFocused{RGB(132, 172, 221), RGB(241, 247, 254), RGB(235, 244, 254), RGB(207, 228, 254)};
const CBoxColors kSelectedUnfocused{RGB(217, 217, 217), RGB(250, 250, 251), RGB(248, 248, 248), RGB(229, 229, 229)};
const CBoxColors kHot{RGB(182, 214, 251), RGB(242, 247, 254), RGB(250, 251, 253), RGB(235, 243, 253)};

RECT Deflated(const RECT& rect, int dx, int dy)
{
    return RECT{rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

void DrawRoundFrame(HDC dc, const RECT& rect, COLORREF color, int corner)
{
    const CPenOwner pen(::CreatePen(PS_SOLID, 1, color));
    const CSelectScope selectPen(dc, pen);
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

// The two round frames both boxes share, over a solid interior of fill.
void DrawBoxFrames(HDC dc, const RECT& rect, COLORREF fill, COLORREF outer, COLORREF inner)
{
    const CBrushOwner brush(::CreateSolidBrush(fill));
    const CSelectScope selectBrush(dc, brush);
    DrawRoundFrame(dc, rect, outer, 5);
    DrawRoundFrame(dc, Deflated(rect, 1, 1), inner, 2);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    return vertex;
}

BYTE ScaleChannel(BYTE channel, float factor, BOOL round)
{
    const float scaled = channel * factor;
    return static_cast<BYTE>(std::min(255.0f, round ? std::floor(scaled + 0.5f) : std::floor(scaled)));
}

template <class Shade>
void DrawGrooveLine(HDC dc, POINT from, POINT to, float a, float b, Shade shade)
{
    if (from.x != to.x)
        return;
    const LONG half = (to.y - from.y) / 2;
    for (LONG y = from.y; y < from.y + half; ++y) {
        const double t = static_cast<double>(y - from.y) / half;
        const auto factor = static_cast<float>(a + t * (b - a) * std::sin(t * 90 * 3.14159265 / 180));
        for (const LONG row : {y, to.y - (y - from.y) - 1})
            ::SetPixelV(dc, from.x, row, shade(::GetPixel(dc, from.x, row), factor));
    }
}

}  // namespace

int QelMenuRowHeight()
{
    return ::GetSystemMetrics(SM_CYMENU) + 4;
}

BOOL QelCreateUIFont(CFontOwner& font, BOOL bold, BYTE underline, BYTE italic)
{
    // The size before the padded-border field, which older systems refuse.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return FALSE;
    LOGFONTW logFont = metrics.lfMenuFont;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logFont.lfUnderline = underline;
    logFont.lfItalic = italic;
    font.Attach(::CreateFontIndirectW(&logFont));
    return font ? TRUE : FALSE;
}

void QelFillSolidRect(HDC dc, const RECT& rect, COLORREF color)
{
    const CBrushOwner brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush);
}

void QelFillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, top), Vertex(rect.right, rect.bottom, bottom)};
    GRADIENT_RECT span{0, 1};
    ::GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

void QelDrawStateBackground(HWND window, HDC dc, const RECT& rect, UINT flags, COLORREF fill)
{
    QelFillSolidRect(dc, rect, fill);
    const CBoxColors* colors = nullptr;
    if (flags & QelStateSelected)
        colors = ::GetFocus() == window ? &kSelectedFocused : &kSelectedUnfocused;
    else if (flags & QelStateHot)
        colors = &kHot;
    if (colors)
        QelDrawSelectionBox(dc, rect, fill, colors->outer, colors->inner, colors->top, colors->bottom);
    else if (flags & QelStateFocused)
        QelDrawFocusBox(dc, rect, fill, kSelectedFocused.outer, kSelectedFocused.inner);
}

void QelDrawSelectionBox(HDC dc, const RECT& rect, COLORREF fill, COLORREF outer, COLORREF inner, COLORREF top,
                         COLORREF bottom)
{
    DrawBoxFrames(dc, rect, fill, outer, inner);
    QelFillVerticalGradient(dc, Deflated(rect, 2, 2), top, bottom);
}

void QelDrawFocusBox(HDC dc, const RECT& rect, COLORREF fill, COLORREF outer, COLORREF inner)
{
    DrawBoxFrames(dc, rect, fill, outer, inner);
}

void QelDrawTwoBandGradient(HDC dc, const RECT& rect, int splitY, BOOL darker)
{
    QelFillVerticalGradient(dc, RECT{rect.left, rect.top, rect.right, splitY}, RGB(255, 255, 255),
                            darker ? RGB(243, 243, 243) : RGB(240, 240, 240));
    QelFillVerticalGradient(dc, RECT{rect.left, splitY, rect.right, rect.bottom},
                            darker ? RGB(228, 228, 228) : RGB(232, 232, 232),
                            darker ? RGB(211, 211, 211) : RGB(234, 234, 234));
}

void QelDrawHotButtonFace(HDC dc, const RECT& rect, int splitY)
{
    QelDrawTwoBandGradient(dc, Deflated(rect, 2, 2), splitY, TRUE);
    const CSelectScope hollow(dc, ::GetStockObject(NULL_BRUSH));
    DrawRoundFrame(dc, rect, RGB(217, 217, 217), 2);
    DrawRoundFrame(dc, Deflated(rect, 1, 1), RGB(250, 250, 251), 2);
}

void QelDrawPressedButtonFace(HDC dc, const RECT& rect, int splitY)
{
    const RECT inner = Deflated(rect, 1, 1);
    QelFillVerticalGradient(dc, RECT{inner.left, inner.top, inner.right, inner.top + 5}, RGB(213, 213, 213),
                            RGB(235, 235, 235));
    QelFillVerticalGradient(dc, RECT{inner.left, inner.top + 5, inner.right, splitY}, RGB(233, 233, 233),
                            RGB(228, 228, 228));
    QelFillSolidRect(dc, RECT{inner.left, splitY, inner.right, inner.bottom}, RGB(221, 221, 221));
    const CSelectScope hollow(dc, ::GetStockObject(NULL_BRUSH));
    DrawRoundFrame(dc, rect, RGB(199, 199, 199), 2);
}

void QelDrawFlatButtonFace(HDC dc, const RECT& rect, BOOL hot)
{
    QelFillSolidRect(dc, rect, ::GetSysColor(COLOR_WINDOW));
    const int splitY = (rect.top + rect.bottom) / 2;
    if (hot)
        QelDrawHotButtonFace(dc, rect, splitY);
    else
        QelDrawPressedButtonFace(dc, rect, splitY);
}

void QelDrawLightGrooveLine(HDC dc, POINT from, POINT to)
{
    DrawGrooveLine(dc, from, to, 1.03f, 1.08f, QelLightenColor);
}

void QelDrawDarkGrooveLine(HDC dc, POINT from, POINT to)
{
    DrawGrooveLine(dc, from, to, 0.98f, 0.88f, QelDarkenColor);
}

COLORREF QelLightenColor(COLORREF color, float factor)
{
    factor = std::max(factor, 1.0f);
    return RGB(ScaleChannel(GetRValue(color), factor, FALSE), ScaleChannel(GetGValue(color), factor, FALSE),
               ScaleChannel(GetBValue(color), factor, FALSE));
}

COLORREF QelDarkenColor(COLORREF color, float factor)
{
    factor = std::clamp(factor, 0.0f, 1.0f);
    return RGB(ScaleChannel(GetRValue(color), factor, TRUE), ScaleChannel(GetGValue(color), factor, TRUE),
               ScaleChannel(GetBValue(color), factor, TRUE));
}

CQelBufferedDc::CQelBufferedDc(HDC target, const RECT& rect) : m_target(target), m_rect(rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    m_bitmap.Attach(CreatePaintBufferBitmap(target, width, height));
    if (m_bitmap)
        m_memory.Attach(::CreateCompatibleDC(target));
    if (!m_memory)
        return;
    m_previous = ::SelectObject(m_memory, m_bitmap);
    ::SetViewportOrgEx(m_memory, -rect.left, -rect.top, nullptr);
}

CQelBufferedDc::~CQelBufferedDc()
{
    if (!m_memory)
        return;
    ::SetViewportOrgEx(m_memory, 0, 0, nullptr);
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_memory, 0,
             0, SRCCOPY);
    ::SelectObject(m_memory, m_previous);
}
