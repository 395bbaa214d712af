#pragma once
// A status bar whose panes are named by id. The default pane takes the width the
// others leave; every other pane keeps the width given to it. Texts and icons
// follow their pane's id when the panes change.
//
//   const UINT panes[] = {CStatusBarPanes::kDefaultPaneId, 100, 101};
//   bar.SetPanes(panes, 3);
//   bar.SetPaneWidth(100, 200);
//
// Derived bars that place child windows in panes override UpdateLayout, call
// this one and then read the panes' rectangles; it runs after every size change.
// A bar with a class name of its own registers {name, STATUSCLASSNAMEW, ICC_BAR_CLASSES}.
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
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    int GetPaneIndex(UINT id) const;  // -1 when the bar has no such pane
    // Width of a pane other than the default one, in pixels; the panes are laid out again.
    BOOL SetPaneWidth(UINT id, int width);
    BOOL SetPaneText(UINT id, const wchar_t* text, UINT type = 0);  // type: SBT_NOBORDERS, SBT_POPOUT, ...
    BOOL GetPaneText(UINT id, std::wstring& text) const;
    BOOL SetPaneIcon(UINT id, HICON icon);  // the caller keeps the icon alive
    HICON GetPaneIcon(UINT id) const;
    BOOL GetPaneRect(UINT id, RECT& rect) const;

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

    std::vector<Pane> m_panes{Pane{}};
};
