#include "controls/SplitterWindow.h"

namespace {

TRIVERTEX Vertex(LONG x, LONG y, BYTE grey)
{
    const auto channel = static_cast<COLOR16>(grey << 8);
    return TRIVERTEX{x, y, channel, channel, channel, 0};
}

// One line of the bar from white to grey at its middle and back to white.
void DrawBarLine(HDC dc, const RECT& line, BYTE grey, bool upright)
{
    const LONG middle = upright ? (line.top + line.bottom) / 2 : (line.left + line.right) / 2;
    const TRIVERTEX vertices[4] = {
        Vertex(line.left, line.top, 255),
        upright ? Vertex(line.right, middle, grey) : Vertex(middle, line.bottom, grey),
        upright ? Vertex(line.left, middle, grey) : Vertex(middle, line.top, grey),
        Vertex(line.right, line.bottom, 255),
    };
    GRADIENT_RECT spans[2] = {{0, 1}, {2, 3}};
    ::GradientFill(dc, const_cast<TRIVERTEX*>(vertices), 4, spans, 2,
                   upright ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace

CWindowClassInfo& CQelVistaSplitterWindow::GetWindowClassInfo()
{
    static CWindowClassInfo info = [] {
        CWindowClassInfo i;
        i.name = L"Qel_SplitterWindow";
        i.style = CS_DBLCLKS;
        i.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        return i;
    }();
    return info;
}

BOOL CQelVistaSplitterWindow::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                   LRESULT& result, DWORD mapId)
{
    if (message == WM_DESTROY)
        SaveSplitterPos();
    return CSplitterWindowBase::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CQelVistaSplitterWindow::DrawSplitterBar(HDC dc)
{
    RECT bar{};
    if (!GetSplitterBarRect(bar))
        return;
    // An upright bar is shaded column by column, a lying one row by row.
    const int lines = m_upright ? bar.right - bar.left : bar.bottom - bar.top;
    for (int i = 0; i < lines; ++i) {
        const auto grey = static_cast<BYTE>((i + 1) * 95.0 / lines + 160.0);
        const RECT line = m_upright ? RECT{bar.left + i, bar.top, bar.left + i + 1, bar.bottom}
                                    : RECT{bar.left, bar.top + i, bar.right, bar.top + i + 1};
        DrawBarLine(dc, line, grey, m_upright);
    }
}
