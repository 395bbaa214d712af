#include "framework/CommandState.h"

#include <commctrl.h>

void CCommandState::Change(UINT id, BOOL State::*field, BOOL value)
{
    State& state = m_states[id];
    if (state.*field != !!value) {
        state.*field = !!value;
        state.changed = TRUE;
    }
}

void CCommandState::UpdateToolBars()
{
    for (ToolBar& bar : m_toolBars) {
        if (!::IsWindow(bar.window))
            continue;
        for (const auto& [id, state] : m_states) {
            if (!state.changed && !bar.fresh)
                continue;
            ::SendMessageW(bar.window, TB_ENABLEBUTTON, id, MAKELPARAM(state.enabled, 0));
            ::SendMessageW(bar.window, TB_CHECKBUTTON, id, MAKELPARAM(state.checked, 0));
        }
        bar.fresh = FALSE;
    }
    for (auto& entry : m_states)
        entry.second.changed = FALSE;
}
