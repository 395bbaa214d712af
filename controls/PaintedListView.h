#pragma once
// What the kit's report list views share: rows painted by the control itself,
// double-buffered, over the list view's own erased background; a row height fixed by
// a blank small image list; and the selection as a list of rows. The kit's list view
// and the multi-line list derive from it and say how a row looks:
//
//   void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format, LPARAM data) override;
//
// OnInitControl runs from WM_CREATE after the list view exists; a list that is
// subclassed instead is initialised by whoever subclasses it.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/SortableListView.h"

class CQelPaintedListView : public CSortableListView, public CDoubleBufferPaint {
public:
    ~CQelPaintedListView() override { ReleaseSpacer(); }

    int GetFirstSelectedItem() const;  // -1 when none
    // The selected rows in list order.
    void GetSelectedItems(std::vector<int>& items) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    virtual BOOL OnInitControl() = 0;

protected:
    // state holds LVIS_SELECTED and LVIS_FOCUSED; bounds is the whole row in client coordinates.
    // The plain look: a highlight fill when selected, a focus rectangle when focused.
    virtual void DrawItemBackground(HDC dc, int item, UINT state, const RECT& bounds, LPARAM data);
    // cell is the sub-item's rectangle, the first column's clipped to its visible width;
    // format is the column's header format (HDF_RIGHT, HDF_CENTER or left).
    virtual void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format,
                          LPARAM data) = 0;
    // Between background and cells; may draw an image and move the first cell's left edge.
    virtual void DrawItemImage(HDC, int, const RECT&, RECT&) {}

    // Rows at least height pixels high from now on.
    void ApplyItemHeight(int height);
    RECT GetItemBounds(int item) const;
    void RedrawItem(int item) const;

    void DoPaint(HDC dc) override;

private:
    // The list view destroys its small image list itself unless LVS_SHAREIMAGELISTS: it
    // must not hold the spacer when the spacer goes.
    void ReleaseSpacer();

    CImageListOwner m_spacer;
};
