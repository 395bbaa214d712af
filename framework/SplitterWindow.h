#pragma once
// A window split into two panes by a bar the user drags. Vertical: the panes stand
// side by side with an upright bar between them; else one above the other. The
// position is the bar's distance from the left or top edge of the client area.
//
//   CSplitterWindowBase splitter(true);
//   splitter.Create(parent, rect);
//   splitter.SetSplitterPanes(left, right);  // children of the splitter
//   splitter.SetSplitterPos(200);
//
// A derived class paints the bar in DrawSplitterBar. While the bar is dragged the splitter
// holds the capture and the focus: arrow keys move the bar, Enter ends the drag, Esc puts it back.
#include <windows.h>

#include "framework/DoubleBuffer.h"
#include "framework/WindowObject.h"

constexpr int SPLIT_PANE_LEFT = 0;
constexpr int SPLIT_PANE_RIGHT = 1;
constexpr int SPLIT_PANE_TOP = SPLIT_PANE_LEFT;
constexpr int SPLIT_PANE_NONE = -1;

// On resizing, the bar keeps its share of the room (the default), or its distance from
// the bottom (or right) edge, or else its distance from the top or left edge.
constexpr DWORD SPLIT_PROPORTIONAL = 0x1;
constexpr DWORD SPLIT_BOTTOMALIGNED = 0x4;

class CSplitterWindowBase : public CWindowObject, public CDoubleBufferPaint {
public:
    explicit CSplitterWindowBase(bool vertical) : m_vertical(vertical) {}

    void SetSplitterPanes(HWND first, HWND second)
    {
        m_panes[0] = first;
        m_panes[1] = second;
        UpdateSplitterLayout();
    }
    // -1 puts the bar in the middle. Once the window has a size, the minimum pane sizes hold it.
    void SetSplitterPos(int pos = -1, BOOL update = TRUE);
    int GetSplitterPos() const { return m_pos; }
    // One pane over the whole window, or both again with SPLIT_PANE_NONE.
    void SetSinglePaneMode(int pane = SPLIT_PANE_NONE);
    int GetSinglePaneMode() const { return m_singlePane; }
    void SetSplitterExtendedStyle(DWORD style) { m_extendedStyle = style; }
    void SetBarWidth(int width) { m_barWidth = width > 0 ? width : 1; }
    void SetMinPaneSize(int size) { m_minPane = size > 0 ? size : 0; }
    // Full drag moves the panes with the mouse; else an inverted bar follows it.
    void SetFullDrag(BOOL full) { m_fullDrag = full; }

    void UpdateSplitterLayout();
    BOOL GetSplitterBarRect(RECT& rect) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override
    {
        const RECT client = GetClientRect();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        DrawSplitterBar(dc);
    }

protected:
    // Paints the bar over the button face, in client coordinates.
    virtual void DrawSplitterBar(HDC /*dc*/) {}

private:
    RECT Band(int from, int to) const;  // the client area from one distance to another
    int Available() const;              // the client extent across the bar, less the bar
    int Clamp(int pos, int available) const;
    int Along(POINT point) const { return m_vertical ? point.x : point.y; }
    BOOL IsOverBar(POINT point) const
    {
        RECT bar{};
        return GetSplitterBarRect(bar) && ::PtInRect(&bar, point);
    }
    void OnResize();
    void DragTo(int pos);
    void EndDrag(BOOL keep);
    void InvertGhostBar();  // the drag's inverted bar, when not dragging in full

    const bool m_vertical;
    HWND m_panes[2]{};
    int m_pos = -1;
    // The position last set and the room it was set in: resizing starts from these,
    // so repeated resizes do not drift and a squeezed bar comes back.
    int m_anchorPos = -1;
    int m_anchorAvailable = 0;
    int m_singlePane = SPLIT_PANE_NONE;
    DWORD m_extendedStyle = SPLIT_PROPORTIONAL;
    int m_barWidth = 4;
    int m_minPane = 0;
    BOOL m_fullDrag = TRUE;

    BOOL m_dragging = FALSE;
    int m_dragPos = 0;
    int m_dragOffset = 0;
    int m_startPos = 0;
    HWND m_focusBeforeDrag = nullptr;
};
