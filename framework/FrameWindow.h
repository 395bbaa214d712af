#pragma once
// A top-level frame: a tool bar on top, a status bar at the bottom and a client
// window between them. The derived frame creates the three children in WM_CREATE,
// sets their handles here, and may override UpdateLayout to place its tool bar
// itself before calling this one:
//
//   void UpdateLayout() override
//   {
//       CWindowRef(m_toolBar).SetWindowPos(nullptr, {0, 0, width, 33}, SWP_NOZORDER | SWP_NOACTIVATE);
//       CFrameWindowObject::UpdateLayout();
//   }
//
// A status bar too tall for the frame is hidden until there is room again.
// Icon and title come from resource 128. Destroying the frame posts WM_QUIT with 1.
// Its owner registers it as message filter and idle handler of the thread's loop;
// on idle the command state goes to the tool bars added to it.
#include <map>
#include <vector>

#include "framework/MessageLoop.h"
#include "framework/WindowObject.h"

// Enabled and checked state per command id, which handlers set and the frame's idle
// handler pushes to the tool bars added here. Only states changed since the last push
// are sent again; a tool bar added later gets every known state.
class CCommandState {
public:
    void AddToolBar(HWND toolBar) { m_toolBars.push_back(ToolBar{toolBar, TRUE}); }

    // Commands never set are left as the tool bars have them; a command once set
    // has both its states pushed.
    void EnableCommand(UINT id, BOOL enable) { Change(id, &State::enabled, enable); }
    void SetCommandCheck(UINT id, BOOL check) { Change(id, &State::checked, check); }

    // Sends the changed states to every tool bar (TB_ENABLEBUTTON, TB_CHECKBUTTON).
    void UpdateToolBars();

private:
    struct State {
        BOOL enabled = TRUE;
        BOOL checked = FALSE;
        BOOL changed = TRUE;
    };
    struct ToolBar {
        HWND window;
        BOOL fresh;  // not yet given any state
    };
    void Change(UINT id, BOOL State::*field, BOOL value);

    std::map<UINT, State> m_states;
    std::vector<ToolBar> m_toolBars;
};

class CFrameWindowObject : public CWindowObject, public CCommandState, public IUiMessageFilter, public IUiIdleHandler {
public:
    static constexpr UINT kResourceId = 128;

    // Creates the frame with the title of string 128.
    HWND CreateFrame(const RECT& rect, HWND parent = nullptr);

    // Places the tool bar band, the status bar and the client window in the client area.
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
