#pragma once
// A one-column report list whose rows hold a fixed number of text lines, each row
// painted by the control with a button-face line along its bottom. Owners override
// DrawItemLine to say what each line shows (by default every line is the item's text):
//
//   void DrawItemLine(HDC dc, int, int, UINT, const RECT& line, UINT, LPARAM data, int index) override
//   { RECT area = line; ::DrawTextW(dc, index == 0 ? Name(data) : Folder(data), -1, &area, DT_SINGLELINE); }
//
// Owners usually subclass a list view of a dialog and then call OnInitControl, which
// gives the list its column and its row height from the font it has then.
#include <windows.h>
#include <commctrl.h>

#include "controls/IconImageList.h"
#include "controls/PaintedListView.h"

class CQelMultiLineListCtrl : public CQelPaintedListView {
public:
    explicit CQelMultiLineListCtrl(int lineCount);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    BOOL OnInitControl() override;

protected:
    void DrawItemBackground(HDC dc, int item, UINT state, const RECT& bounds, LPARAM data) override;
    void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format, LPARAM data) override;
    virtual void DrawItemLine(HDC dc, int item, int subItem, UINT state, const RECT& line, UINT format,
                              LPARAM data, int lineIndex);
    void DrawItemImage(HDC dc, int item, const RECT& bounds, RECT& firstCell) override;

    // Item images by the items' image indexes, drawn 32 pixels wide: the owner creates
    // it with Create(32); rows have no image column until then.
    CQelIconImageList m_images;

private:
    CPenOwner m_separatorPen;
    int m_lineCount;
    int m_lineHeight = 12;
};
