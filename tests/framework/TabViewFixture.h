#pragma once
// A top-level "Reader" window holding a tab view whose pages are statics; it counts
// the tab view's activation notices and records what reaches the tab hooks.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/TabViewWindow.h"

class CNoticedParent : public CWindowObject {
public:
    int activations = 0;
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != kTabViewPageActivated)
            return FALSE;
        ++activations;
        result = 0;
        return TRUE;
    }

protected:
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW; }
};

class CHookedTabView : public CTabViewWindow {
public:
    int menuIndex = -2;
    POINT menuPoint{};
    int doubleClickIndex = -2;
    int activatedIndex = -2;

protected:
    void OnTabContextMenu(int index, POINT screenPoint) override
    {
        menuIndex = index;
        menuPoint = screenPoint;
    }
    void OnTabDoubleClick(int index) override { doubleClickIndex = index; }
    void OnPageActivated(int index) override { activatedIndex = index; }
};

struct CTabViewFixture {
    CTabViewFixture()
    {
        parent.Create(nullptr, RECT{0, 0, 600, 400}, L"Reader");
        view.Create(parent, RECT{0, 0, 500, 300});
        strip = view.GetTabStrip();
    }
    ~CTabViewFixture() { parent.DestroyWindow(); }

    HWND NewPage() const
    {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, view, nullptr, nullptr,
                                 nullptr);
    }
    std::wstring TabText(int index) const
    {
        wchar_t text[64]{};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        TabCtrl_GetItem(strip, index, &item);
        return text;
    }
    // The middle of a tab, in the strip's client coordinates, as a mouse message carries it.
    LPARAM TabMiddle(int index) const
    {
        RECT tab{};
        TabCtrl_GetItemRect(strip, index, &tab);
        return MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    }

    CNoticedParent parent;
    CHookedTabView view;
    CWindowRef strip;
};
