#pragma once
// Enabled and checked state per command id, kept by a frame and pushed to its tool
// bars from the idle handler, so that handlers only say what the state should be:
//
//   AddToolBar(m_toolBar);            // once the tool bar exists
//   SetCommandCheck(32776, fullScreen);
//   BOOL OnIdle() override { UpdateToolBars(); return FALSE; }
//
// Only commands whose state changed since the last push are sent again; a tool bar
// added later gets every known state.
#include <windows.h>

#include <map>
#include <vector>

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
