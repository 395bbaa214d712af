#include "framework/StatusBarPanes.h"

#include <algorithm>

CWindowClassInfo& CStatusBarPanes::GetWindowClassInfo()
{
    static CWindowClassInfo info{nullptr, STATUSCLASSNAMEW, ICC_BAR_CLASSES};
    return info;
}

int CStatusBarPanes::GetPaneIndex(UINT id) const
{
    const auto found = std::find_if(m_panes.begin(), m_panes.end(), [id](const Pane& pane) { return pane.id == id; });
    return found == m_panes.end() ? -1 : static_cast<int>(found - m_panes.begin());
}

CStatusBarPanes::PaneContent CStatusBarPanes::ReadPane(int index) const
{
    PaneContent content;
    const auto length = static_cast<DWORD>(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(index)));
    content.type = HIWORD(length);
    content.text.resize(LOWORD(length) + 1u);
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(content.text.data()));
    content.text.resize(LOWORD(length));
    content.icon = reinterpret_cast<HICON>(SendMessage(SB_GETICON, static_cast<WPARAM>(index)));
    return content;
}

BOOL CStatusBarPanes::SetPanes(const UINT* ids, int count)
{
    // The control holds at most 256 parts.
    if (!m_hWnd || !ids || count <= 0 || count > 256)
        return FALSE;
    std::vector<Pane> panes;
    std::vector<PaneContent> contents;
    for (int i = 0; i < count; ++i) {
        const int old = GetPaneIndex(ids[i]);
        panes.push_back(Pane{ids[i], old < 0 ? 0 : m_panes[static_cast<size_t>(old)].width});
        contents.push_back(old < 0 ? PaneContent{} : ReadPane(old));
    }
    m_panes = std::move(panes);
    UpdateLayout();
    for (size_t i = 0; i < contents.size(); ++i) {
        SendMessage(SB_SETTEXTW, i | contents[i].type, reinterpret_cast<LPARAM>(contents[i].text.c_str()));
        SendMessage(SB_SETICON, i, reinterpret_cast<LPARAM>(contents[i].icon));
    }
    return TRUE;
}

BOOL CStatusBarPanes::SetPaneWidth(UINT id, int width)
{
    const int index = GetPaneIndex(id);
    if (index < 0 || id == kDefaultPaneId || width < 0)
        return FALSE;
    m_panes[static_cast<size_t>(index)].width = width;
    UpdateLayout();
    return TRUE;
}

BOOL CStatusBarPanes::UpdateLayout()
{
    int room = GetClientRect().right;
    if (GetStyle() & SBARS_SIZEGRIP)
        room -= ::GetSystemMetrics(SM_CXVSCROLL);  // the gripper's corner stays clear of panes
    for (const Pane& pane : m_panes)
        room -= pane.width;  // 0 for the default pane, whose width is never set
    std::vector<int> edges;
    int right = 0;
    for (const Pane& pane : m_panes) {
        right += pane.id == kDefaultPaneId ? std::max(room, 0) : pane.width;
        edges.push_back(right);
    }
    return SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data())) != 0;
}

BOOL CStatusBarPanes::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                           DWORD mapId)
{
    switch (message) {
    case WM_SIZE:
        // The control first follows its parent's size; the panes then fit what it became.
        result = DefWindowProc(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            UpdateLayout();
        return TRUE;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
