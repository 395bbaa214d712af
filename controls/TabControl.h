#pragma once
// The kit's tab strip over the common-control tab control, painted completely by the
// control, double-buffered: each tab a soft vertical gradient with a light left and top
// edge and a dark right edge, its image and its text with an ellipsis; the current tab
// last, two pixels taller at both ends, in the window colour.
//
//   CQelVistaTabCtrl tabs;
//   tabs.Create(view, rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
//
// An owner that subclasses a tab control of its own calls OnInitControl itself.
#include <windows.h>
#include <commctrl.h>

#include "controls/SubclassedControl.h"
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"

class CQelVistaTabCtrlImpl : public CQelSubclassedControl, public CDoubleBufferPaint {
public:
    CQelVistaTabCtrlImpl();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;
    // The height of a tab that holds its image and its text as painted, with the
    // painter's inset above and below: from the font, never from the strip's size.
    int GetFittingItemHeight() const;

protected:
    // item is an ODT_TAB record: itemID the tab, itemState 1 for the current one, rcItem
    // the tab's rectangle as painted.
    void DrawTab(const DRAWITEMSTRUCT& item);
    void DrawTabFrame(const DRAWITEMSTRUCT& item);

    CFontOwner m_font;

private:
    void PaintTab(HDC dc, int index, BOOL current, const RECT& rect);
};

class CQelVistaTabCtrl : public CQelVistaTabCtrlImpl {};
