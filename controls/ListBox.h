#pragma once
// The kit's owner-drawn list box: the hot item under the mouse, the selection look, the
// selected item in bold, an optional 16 x 16 icon per item from an icon file, and a
// context menu the owner supplies. The owner creates it with LBS_OWNERDRAWFIXED |
// LBS_HASSTRINGS under a window of our own class, which reflects WM_DRAWITEM back to it,
// and customises it through the virtual operations:
//
//   class CBookmarkList : public CQelVistaListBox {
//       BOOL OnInitControl() override { CQelVistaListBox::OnInitControl(); return Load(); }
//       HMENU GetContextMenu() override { ... }
//   };
#include <windows.h>

#include <map>
#include <string>

#include "controls/HotItem.h"
#include "controls/IconImageList.h"
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

class CQelVistaListBoxImpl : public CWindowObject, public CDoubleBufferPaint {
public:
    CQelVistaListBoxImpl();

    // Gives the item the icon of the file (-1 when it cannot be loaded) and returns its image.
    int SetItemIcon(int index, const wchar_t* iconFile);
    int GetItemImage(int index) const;
    // The item's whole text, whatever its length.
    std::wstring GetItemText(int index) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;
    void DoPaint(HDC dc) override;

protected:
    virtual void DrawItemBackground(DRAWITEMSTRUCT* item);
    virtual void DrawItemContent(DRAWITEMSTRUCT* item);
    virtual void DeleteItem(DELETEITEMSTRUCT*) {}
    // Runs in WM_CREATE after the default handling; sets the item height.
    virtual BOOL OnInitControl();
    // Runs in WM_DESTROY while the items are still there.
    virtual BOOL OnDestroyControl() { return TRUE; }
    virtual int GetItemHeight();
    virtual void UpdateItemHeight();
    // The menu stays the owner's; nullptr shows none.
    virtual HMENU GetContextMenu() { return nullptr; }
    // item is the one under the mouse when the menu was asked for, -1 for none.
    virtual void PrepareContextMenu(int, HMENU) {}
    virtual COLORREF GetItemTextColor(int) { return ::GetSysColor(COLOR_WINDOWTEXT); }
    virtual COLORREF GetItemBackColor(int) { return ::GetSysColor(COLOR_WINDOW); }
    virtual BOOL IsItemSelected(int item);

    void InvalidateItem(int item);
    // The item under a client point, -1 outside every item.
    int ItemFromPoint(POINT point) const;
    void ShowContextMenu(POINT screen);

    CFontOwner m_normalFont;
    CFontOwner m_boldFont;
    CQelHotItem<int> m_hotItem{-1};
    int m_contextItem = -1;
    CQelIconImageList m_icons;
    std::map<int, int> m_itemIcons;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void OnContextMenu(LPARAM lParam);
};

// The window class "Qel_ListBox"; the bookmark list derives from it.
class CQelVistaListBox : public CQelVistaListBoxImpl {
protected:
    CWindowClassInfo& GetWindowClassInfo() override;
};

// The window class "Qel_ControlChooser"; the catalogue chooser derives from it.
class CQelControlChooser : public CQelVistaListBoxImpl {
protected:
    CWindowClassInfo& GetWindowClassInfo() override;
};
