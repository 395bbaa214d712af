#pragma once
// The kit's tree view, window class "Qel_TreeCtrl": rows in the selection and hot look,
// root items in bold, the kit's expand glyphs on the native buttons, a context menu the
// owner supplies, and a saved state (TreeState.h) keyed by GetItemPath. A derived tree
// fills itself inside a keeper, so a refill keeps what the user expanded and selected:
//
//   class CFolderTree : public CQelVistaTreeCtrl {
//       std::wstring GetItemPath(HTREEITEM item) override { ... }
//       void Refresh() { CQelTreeCtrlStateKeeper keep(*this); DeleteAllItems(); ...InsertItem... }
//   };
//
// Its parent is a window of our own class, which reflects the tree's notifications back.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "controls/HotItem.h"
#include "controls/RedrawLock.h"
#include "controls/TreeState.h"
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

class CQelVistaTreeCtrl : public CWindowObject,
                          public CDoubleBufferPaint,
                          public CQelTreeCtrlWithState<CQelVistaTreeCtrl> {
public:
    CQelVistaTreeCtrl();

    // A last child of parent (TVI_ROOT for a root item); nullptr when it cannot be added.
    HTREEITEM InsertItem(HTREEITEM parent, const wchar_t* text, LPARAM data);
    BOOL DeleteAllItems();
    std::wstring GetItemText(HTREEITEM item) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const;
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }

    // The items a command applies to: the right-clicked one while its menu is up, else the selection.
    virtual void GetCommandItems(std::vector<HTREEITEM>& items);
    int GetCommandItemCount();
    // The first command item, nullptr when there is none.
    HTREEITEM GetCommandItem();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    virtual int GetItemHeight();
    virtual void UpdateItemHeight();
    // Runs in WM_CREATE after the default handling; sets the item height.
    virtual BOOL OnInitControl();
    // Runs in WM_DESTROY while the items are still there.
    virtual BOOL OnDestroyControl() { return TRUE; }
    // The menu stays the owner's; nullptr shows none.
    virtual HMENU GetContextMenu() { return nullptr; }
    // item is the right-clicked item when it is not the selected one, else nullptr.
    virtual void PrepareContextMenu(HTREEITEM, HMENU) {}
    virtual COLORREF GetItemTextColor(HTREEITEM) { return m_textColor; }
    // Extra pixels left of an item's text.
    virtual int GetItemTextOffset(HTREEITEM) { return 0; }
    // The item data of an item being deleted; the tree forgets it afterwards.
    virtual void OnDeleteItem(LPARAM) {}

    // The item's row: the whole client width between the item's top and bottom.
    BOOL GetItemRow(HTREEITEM item, RECT& row) const;
    void InvalidateItem(HTREEITEM item);

    CFontOwner m_normalFont;
    CFontOwner m_boldFont;
    CImageListOwner m_glyphs;  // 0 expanded, 1 collapsed
    CQelHotItem<HTREEITEM> m_hotItem{nullptr};
    HTREEITEM m_commandItem = nullptr;
    COLORREF m_windowColor = ::GetSysColor(COLOR_WINDOW);
    COLORREF m_textColor = ::GetSysColor(COLOR_WINDOWTEXT);

private:
    struct PaintContext;
    void DrawItem(HDC dc, HTREEITEM item, const PaintContext& context);
    void DrawGlyph(HDC dc, const RECT& cell, BOOL expanded) const;
    BOOL GetItemRect(HTREEITEM item, RECT& rect, BOOL textOnly) const;
    HTREEITEM HitTest(POINT client) const;
    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void OnContextMenu(LPARAM lParam);
};

// Keeps a tree's state in memory over one scope, with redrawing off: the refill inside
// finds expansion, selection and scroll position back for every item whose path survived.
class CQelTreeCtrlStateKeeper : public CQelTreeCtrlState_Memory<CQelVistaTreeCtrl> {
public:
    explicit CQelTreeCtrlStateKeeper(CQelVistaTreeCtrl& tree);
    CQelTreeCtrlStateKeeper(const CQelTreeCtrlStateKeeper&) = delete;
    CQelTreeCtrlStateKeeper& operator=(const CQelTreeCtrlStateKeeper&) = delete;
    ~CQelTreeCtrlStateKeeper() override;

private:
    CQelVistaTreeCtrl& m_tree;
    CQelRedrawLock m_lock;
};
