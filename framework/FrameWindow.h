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

// Enabled and checked state per command id, which handlers set and the frame's idle
// handler pushes to the tool bars added here. Every known state goes each time: a tool
// bar repaints a button only when its state changes, and one added later catches up.
class CCommandState {
public:
    void AddToolBar(HWND toolBar) { m_toolBars.push_back(toolBar); }

    // Commands never set are left as the tool bars have them; a command once set
    // has both its states pushed.
    void EnableCommand(UINT id, BOOL enable) { m_states[id].enabled = enable != FALSE; }
    void SetCommandCheck(UINT id, BOOL check) { m_states[id].checked = check != FALSE; }

    void UpdateToolBars();

private:
    struct State {
        BOOL enabled = TRUE;
        BOOL checked = FALSE;
    };

    std::map<UINT, State> m_states;
    std::vector<HWND> m_toolBars;
};

class CFrameWindowObject : public CWindowObject, public CCommandState, public IUiMessageFilter, public IUiIdleHandler {
public:
    static constexpr UINT kResourceId = 128;

    HWND CreateFrame(const RECT& rect);

    // The bars get WM_SIZE first, so that bars aligning themselves to the frame do so.
    virtual void UpdateLayout();

    // The frame has no accelerators of its own.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override
    {
        UpdateToolBars();
        return FALSE;
    }
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
    BOOL m_statusBarCrowdedOut = FALSE;  // hidden by the layout, not by its owner
};
