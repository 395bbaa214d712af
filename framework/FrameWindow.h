#pragma once
// A top-level frame: a tool bar on top, a status bar at the bottom and a client
// window between them. The derived frame creates the three children in WM_CREATE,
// sets their handles here, and may override UpdateLayout to place its tool bar
// itself before calling this one.
// A status bar too tall for the frame is hidden until there is room again.
// Icon and title come from resource 128. Destroying the frame posts WM_QUIT with 1.
// Its owner registers it as message filter and idle handler of the thread's loop;
// on idle the command state goes to the tool bars added to it.
#include <map>
#include <vector>

#include "framework/MessageLoop.h"
#include "framework/WindowObject.h"

class CFrameWindowObject : public CWindowObject, public IUiMessageFilter, public IUiIdleHandler {
public:
    static constexpr UINT kResourceId = 128;

    HWND CreateFrame(const RECT& rect);

    // The bars get WM_SIZE first, so that bars aligning themselves to the frame do so.
    virtual void UpdateLayout();

    // Enabled and checked state per command id, every known state pushed on each idle (a tool bar
    // repaints only a changed button); commands never set stay as the tool bars have them.
    void AddToolBar(HWND toolBar) { m_toolBars.push_back(toolBar); }
    void EnableCommand(UINT id, BOOL enable) { m_commands[id].enabled = enable != FALSE; }
    void SetCommandCheck(UINT id, BOOL check) { m_commands[id].checked = check != FALSE; }

    // The frame has no accelerators of its own.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

    HWND m_toolBar = nullptr;
    HWND m_statusBar = nullptr;
    HWND m_client = nullptr;

protected:
    CWindowClassInfo& GetWindowClassInfo() override;
    DWORD DefaultStyle() const override { return WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    DWORD DefaultExStyle() const override { return WS_EX_APPWINDOW | WS_EX_WINDOWEDGE; }

private:
    struct CommandState {
        BOOL enabled = TRUE;
        BOOL checked = FALSE;
    };

    BOOL m_statusBarCrowdedOut = FALSE;  // hidden by the layout, not by its owner
    std::map<UINT, CommandState> m_commands;
    std::vector<HWND> m_toolBars;
};
