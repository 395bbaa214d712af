#pragma once
// The main frame's status bar: the text pane, then the sync pane (100), the advertisement
// line (101) and the "Zoom" drop-down button (102). The button's click and the sync pane's
// "Details" go to the parent as WM_COMMAND 32818 and 5000; the drop-down's commands
// (32819-32828) go to the parent from the menu. The sync pane stays one second after a
// run ends, unless a new run begins meanwhile.
//
//   bar.Create(frame, RECT{}, L"Tessary", style, 0, 0xE801);
//   bar.Init();
#include "app/frame/ADCtrl.h"
#include "app/frame/ReaderStatusBarSyncPane.h"
#include "controls/MultiPaneStatusBar.h"
#include "controls/ToolBar.h"
#include "framework/GdiOwners.h"

class CReaderStatusBar : public CQelMultiPaneStatusBar {
public:
    static constexpr UINT kSyncPaneId = 100;
    static constexpr UINT kAdPaneId = 101;
    static constexpr UINT kZoomPaneId = 102;
    static constexpr UINT kAdLineId = 5001;
    static constexpr UINT_PTR kHideSyncTimerId = 100;
    static constexpr UINT kHideSyncDelay = 1000;

    // The panes and their windows, once the bar exists; FALSE without a window or when the
    // zoom button cannot be made, which leaves a plain status bar.
    BOOL Init();

    void OnSyncBegin();
    void OnSyncEnd();
    void SetSyncProgress(int position);
    void SetZoomText(int percent);
    void EnableZoom(BOOL enable);

    CReaderStatusBarSyncPane& GetSyncPane() { return m_syncPane; }
    CReaderADCtrl& GetAdLine() { return m_adLine; }
    HWND GetZoomToolBar() const { return m_zoomToolBar; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    void OnLayoutChanged() override;

private:
    BOOL CreateZoomButton();
    void ShowZoomMenu(const NMTOOLBARW& button) const;

    CImageListOwner m_images;
    CQelToolBarCtrl m_zoomToolBar;
    CReaderADCtrl m_adLine;
    CReaderStatusBarSyncPane m_syncPane;
    int m_zoomImage = -1;
};
