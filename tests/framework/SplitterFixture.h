#pragma once
// A pop-up splitter with two static panes, bar 6 and minimum pane 50; distances run across the bar.
#include <windows.h>

#include <utility>

#include "framework/GdiOwners.h"
#include "framework/SplitterWindow.h"

constexpr COLORREF kBarColour = RGB(200, 10, 20);

class CColouredBarSplitter : public CSplitterWindowBase {
public:
    using CSplitterWindowBase::CSplitterWindowBase;

protected:
    void DrawSplitterBar(HDC dc) override
    {
        RECT bar{};
        const CBrushOwner brush(::CreateSolidBrush(kBarColour));
        if (GetSplitterBarRect(bar))
            ::FillRect(dc, &bar, brush);
    }
};

struct CSplitFixture {
    // extent: the window's size across the bar.
    CSplitFixture(bool vertical, int extent, DWORD style = WS_POPUP) : vertical(vertical), splitter(vertical)
    {
        splitter.Create(nullptr, Rect(extent), L"split", style | WS_CLIPCHILDREN);
        for (HWND& pane : panes)
            pane = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, splitter, nullptr,
                                     nullptr, nullptr);
        splitter.SetBarWidth(6);
        splitter.SetMinPaneSize(50);
        splitter.SetSplitterPanes(panes[0], panes[1]);
    }
    ~CSplitFixture() { splitter.DestroyWindow(); }

    RECT Rect(int extent) const { return vertical ? RECT{0, 0, extent, 100} : RECT{0, 0, 100, extent}; }
    void Resize(int extent) { splitter.SetWindowPos(nullptr, Rect(extent), SWP_NOZORDER | SWP_NOACTIVATE); }
    // Where a pane starts and ends across the bar.
    std::pair<LONG, LONG> Span(int pane) const
    {
        const RECT rect = CWindowRef(panes[pane]).GetRectInParent();
        return vertical ? std::make_pair(rect.left, rect.right) : std::make_pair(rect.top, rect.bottom);
    }
    // A mouse message's position at a distance across the bar, in the middle along it.
    LPARAM At(int distance) const { return vertical ? MAKELPARAM(distance, 50) : MAKELPARAM(50, distance); }

    bool vertical;
    CColouredBarSplitter splitter;
    HWND panes[2]{};
};
