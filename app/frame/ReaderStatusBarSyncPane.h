#pragma once
// The status bar's sync pane: an icon, the run's progress bar and a "Details" link
// (command 5000, passed to the parent as WM_COMMAND 5000). Its owner shows it around
// a sync run and hides the link when the run ends.
#include "framework/DoubleBuffer.h"
#include "framework/GdiOwners.h"
#include "framework/Hyperlink.h"
#include "framework/WindowObject.h"

class CReaderStatusBarSyncPane : public CWindowObject, public CDoubleBufferPaint {
public:
    static constexpr UINT kDetailsId = 5000;

    void ShowDetails(BOOL show);
    BOOL IsDetailsVisible() const;
    void SetProgress(int position);
    int GetProgress() const;

    void DoPaint(HDC dc) override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnCreate();
    void Layout();

    CWindowRef m_icon;
    CHyperlink m_details;
    CWindowRef m_progress;
    HBRUSH m_background = ::GetSysColorBrush(COLOR_BTNFACE);  // the system's, never freed
    CFontOwner m_linkFont;
    CIconOwner m_iconImage;
};
