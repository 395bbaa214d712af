#include "app/frame/CatalogChooser.h"

#include "foundation/Settings.h"

int CCatalogChooser::AddEntry(const wchar_t* text, HWND window, const wchar_t* iconFile)
{
    const auto index = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    if (index < 0)
        return -1;
    SendMessage(LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(window));
    if (iconFile)
        SetItemIcon(index, iconFile);
    return index;
}

void CCatalogChooser::ShowSelected()
{
    const int entry = GetCurrentEntry();
    if (m_container && entry >= 0)
        m_container->ShowChild(reinterpret_cast<HWND>(SendMessage(LB_GETITEMDATA, entry)));
}

void CCatalogChooser::ApplySelection()
{
    ShowSelected();
    if (m_events)
        m_events->OnControlChooserSelChanged(*this);
}

int CCatalogChooser::SelectEntry(int index)
{
    const auto count = static_cast<int>(SendMessage(LB_GETCOUNT));
    if (index < 0 || index >= count)
        index = 0;
    SendMessage(LB_SETCURSEL, index);
    ApplySelection();
    return index;
}

void CCatalogChooser::RestoreState(const wchar_t* section)
{
    m_section = section ? section : L"";
    CTessarySettings settings;
    SelectEntry(settings.GetInt(m_section.c_str(), L"Index", 0));
}

BOOL CCatalogChooser::OnDestroyControl()
{
    if (!m_section.empty()) {
        CTessarySettings settings;
        settings.SetInt(m_section.c_str(), L"Index", GetCurrentEntry());
    }
    return CQelControlChooser::OnDestroyControl();
}

BOOL CCatalogChooser::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                           DWORD mapId)
{
    if (message == OCM__BASE + WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        ApplySelection();
        result = 0;
        return TRUE;
    }
    return CQelControlChooser::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
