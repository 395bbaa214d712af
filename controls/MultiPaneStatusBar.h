#pragma once
// A status bar of panes named by id, window class "Qel_MultiPaneStatusBar", that lays
// child windows into their panes after every layout: inset 2 pixels at the sides, from
// the bar's second row down, 20 pixels further right beside a pane's icon, and centred
// when given a fixed height.
//
//   bar.SetPaneWindow(kSyncPaneId, syncPane);            // fills the pane's height
//   bar.SetPaneWindow(kZoomPaneId, zoomToolBar, 16);     // 16 pixels high, centred
//
// Derived bars hear of each layout through OnLayoutChanged.
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "framework/StatusBarPanes.h"

class CQelMultiPaneStatusBar : public CStatusBarPanes {
public:
    // height -1: the window fills its pane's height. The window moves at the next layout.
    void SetPaneWindow(UINT paneId, HWND window, int height = -1);
    HWND GetPaneWindow(UINT paneId) const;  // nullptr when none
    int GetPaneWindowHeight(UINT paneId) const;  // -1 when none

    BOOL UpdateLayout() override;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    virtual void OnLayoutChanged() {}

private:
    struct PaneWindow {
        HWND window = nullptr;
        int height = -1;
    };
    std::map<UINT, PaneWindow> m_paneWindows;
};
