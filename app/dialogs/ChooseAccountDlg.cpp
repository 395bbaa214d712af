#include "app/dialogs/ChooseAccountDlg.h"

#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

CChooseAccountDlg::CChooseAccountDlg() : CDialogObject(IDD_CHOOSE_ACCOUNT) {}

BOOL CChooseAccountDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_NOTIFY: {
        // Left unhandled as well, so that the list still hears it by reflection.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_CHOOSE_ACCOUNT_LIST)
            OnListNotify(*header);
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            EndDialog(IDCANCEL);
            return TRUE;
        }
        break;
    }
    return CDialogObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CChooseAccountDlg::OnInitDialog()
{
    QelTranslateWindow(m_hWnd);
    m_list.SubclassWindow(GetDlgItem(IDC_CHOOSE_ACCOUNT_LIST));
    m_list.OnInitControl();
    CWindowRef(GetDlgItem(IDOK)).EnableWindow(FALSE);
    CenterWindow(::GetDesktopWindow());
}

void CChooseAccountDlg::OnListNotify(const NMHDR& header)
{
    const int selected = m_list.GetFirstSelectedItem();
    if (header.code == LVN_ITEMCHANGED)
        CWindowRef(GetDlgItem(IDOK)).EnableWindow(selected >= 0);
    else if (header.code == NM_DBLCLK && selected >= 0)
        PostMessage(WM_COMMAND, IDOK);
}

void CChooseAccountDlg::OnOK()
{
    const TESSARYACCOUNTDATA* account = m_list.GetAccount(m_list.GetFirstSelectedItem());
    if (!account)
        return;
    m_account = *account;
    EndDialog(IDOK);
}
