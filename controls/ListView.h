#pragma once
// The kit's report list view, window class "Qel_ListCtrl": every visible row painted by
// the control with a fixed row height, and a right-click menu its owner supplies.
// Owners derive from CQelVistaListCtrl (the light selection look) and override the
// virtual operations below: row height, colours, bold cells, the menu, freeing item data.
//
//   HMENU GetContextMenu() override { return ::GetSubMenu(m_menu, 0); }
//   void PrepareContextMenu(int, HMENU menu) override { ...grey what GetCommandItems cannot take... }
//
// A menu command comes to the list itself as WM_COMMAND, while GetCommandItems still
// names the rows it is for.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/HotItem.h"
#include "controls/PaintedListView.h"

class CQelAtlListCtrlBase : public CQelPaintedListView {
public:
    // The right-clicked row alone when it is not selected, else the selection in list order.
    void GetCommandItems(std::vector<int>& items) const;
    int GetCommandItem() const;  // -1 when none
    int GetCommandItemCount() const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    BOOL OnInitControl() override;
    virtual BOOL OnDestroyControl() { return TRUE; }

protected:
    CWindowClassInfo& GetWindowClassInfo() override;

    virtual void DeleteItemData(LPARAM) {}
    virtual int GetItemHeight() { return 16; }
    virtual void UpdateItemHeight() { ApplyItemHeight(GetItemHeight()); }
    virtual HMENU GetContextMenu() { return nullptr; }  // the owner keeps the menu
    virtual void PrepareContextMenu(int, HMENU) {}
    void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format, LPARAM data) override;
    virtual COLORREF GetItemTextColor(int item, int subItem, LPARAM data);
    virtual COLORREF GetItemBackColor(int item, LPARAM data);
    virtual BOOL IsItemBold(int, int, LPARAM) { return FALSE; }

    // The cell's text in its column's alignment, with the font selected in dc.
    void DrawItemText(HDC dc, int item, int subItem, const RECT& cell, UINT format, LPARAM data);
    void ShowContextMenu(int item, int x, int y);

    // Read by derived lists that hold back their selection events while it is set;
    // the kit never sets it.
    BOOL m_suppressSelectionEvents = FALSE;

private:
    // The right-clicked row is not part of the selection.
    BOOL IsContextItemAlone() const;
    // The screen point a menu opens at, from WM_CONTEXTMENU's lParam; -1 comes from the keyboard.
    POINT ContextMenuPoint(LPARAM lParam) const;

    int m_contextItem = -1;  // set only while the context menu is up
};

class CQelVistaListCtrl : public CQelAtlListCtrlBase {
public:
    CQelVistaListCtrl();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    BOOL OnInitControl() override;

protected:
    void DoPaint(HDC dc) override;
    // The row under the mouse as the paint began looks hot.
    void DrawItemBackground(HDC dc, int item, UINT state, const RECT& bounds, LPARAM data) override;
    void DrawItem(HDC dc, int item, int subItem, UINT state, const RECT& cell, UINT format, LPARAM data) override;

private:
    void TrackHotItem(LPARAM lParam);

    CFontOwner m_normalFont;
    CFontOwner m_boldFont;
    CQelHotItem<int> m_hotItem{-1};
    POINT m_paintCursor{};  // in client coordinates
    BOOL m_paintCursorKnown = FALSE;
};
