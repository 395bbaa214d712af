#pragma once
// A status bar whose panes are named by id. The default pane takes the width the others leave;
// every other pane keeps the width given to it. Texts and icons follow their pane's id when the
// panes change. Derived bars that place windows in panes override UpdateLayout, call this one and
// then read the panes' rectangles; it runs after every size change. A bar with a class name of its
// own registers {name, STATUSCLASSNAMEW, ICC_BAR_CLASSES}.
//
//   const UINT panes[] = {CStatusBarPanes::kDefaultPaneId, 100, 101};
//   bar.SetPanes(panes, 3);
//   bar.SetPaneWidth(100, 200);
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/WindowObject.h"

class CStatusBarPanes : public CWindowObject {
public:
    static constexpr UINT kDefaultPaneId = 0;

    // Until the first call the bar is one default pane, holding the window text.
    BOOL SetPanes(const UINT* ids, int count);
    int GetPaneIndex(UINT id) const;  // -1 when the bar has no such pane
    // Width of a pane other than the default one, in pixels; the panes are laid out again.
    BOOL SetPaneWidth(UINT id, int width);
    BOOL SetPaneText(UINT id, const wchar_t* text, UINT type = 0)
    {
        return PaneMessage(id, SB_SETTEXTW, reinterpret_cast<LPARAM>(text ? text : L""), type) != 0;
    }
    // The caller keeps the icon alive.
    BOOL SetPaneIcon(UINT id, HICON icon) { return PaneMessage(id, SB_SETICON, reinterpret_cast<LPARAM>(icon)) != 0; }
    HICON GetPaneIcon(UINT id) const { return reinterpret_cast<HICON>(PaneMessage(id, SB_GETICON, 0)); }
    BOOL GetPaneRect(UINT id, RECT& r) const { return PaneMessage(id, SB_GETRECT, reinterpret_cast<LPARAM>(&r)) != 0; }

    // Sets the panes' right edges from their widths; FALSE when the control refuses them.
    virtual BOOL UpdateLayout();

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    DWORD DefaultStyle() const override
    {
        return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP;
    }

private:
    struct Pane {
        UINT id = kDefaultPaneId;
        int width = 0;
    };
    struct PaneContent {
        std::wstring text;
        UINT type = 0;
        HICON icon = nullptr;
    };
    PaneContent ReadPane(int index) const;
    LRESULT PaneMessage(UINT id, UINT message, LPARAM lParam, UINT flags = 0) const
    {
        const int index = GetPaneIndex(id);
        return index < 0 ? 0 : SendMessage(message, static_cast<WPARAM>(index) | flags, lParam);
    }

    std::vector<Pane> m_panes{Pane{}};
};
