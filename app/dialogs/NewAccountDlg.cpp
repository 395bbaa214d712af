#include "app/dialogs/NewAccountDlg.h"

#include <shellapi.h>

#include "foundation/Folders.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

const wchar_t* const kSignUpUrl = L"http://accounts.tessary.test/oskan/a/signup";

CNewAccountDlg::CNewAccountDlg() : CDialogObject(IDD_NEW_ACCOUNT) {}

BOOL CNewAccountDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                          DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEW_ACCOUNT_USER_NAME:
            if (HIWORD(wParam) == EN_CHANGE)
                OnUserNameChanged();
            return TRUE;
        case IDC_NEW_ACCOUNT_REGISTER:
            ::ShellExecuteW(nullptr, L"open", kSignUpUrl, nullptr, nullptr, SW_SHOW);
            return TRUE;
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

void CNewAccountDlg::OnInitDialog()
{
    QelTranslateWindow(m_hWnd);
    SetDlgItemText(IDC_NEW_ACCOUNT_USER_NAME, m_userName.c_str());
    SetDlgItemText(IDC_NEW_ACCOUNT_PASSWORD, m_password.c_str());
    OnUserNameChanged();
    CenterWindow(::GetForegroundWindow());
}

void CNewAccountDlg::OnUserNameChanged()
{
    const std::wstring userName = GetDlgItemText(IDC_NEW_ACCOUNT_USER_NAME);
    const std::wstring path = QelGetDataFolder() + (userName.empty() ? L"" : userName + L"\\");
    SetDlgItemText(IDC_NEW_ACCOUNT_PATH, path.c_str());
    CWindowRef(GetDlgItem(IDOK)).EnableWindow(!userName.empty());
}

void CNewAccountDlg::OnOK()
{
    // Enter reaches here too; without a user name there is no account to make.
    if (!CWindowRef(GetDlgItem(IDOK)).IsWindowEnabled())
        return;
    m_path = GetDlgItemText(IDC_NEW_ACCOUNT_PATH);
    m_userName = GetDlgItemText(IDC_NEW_ACCOUNT_USER_NAME);
    m_password = GetDlgItemText(IDC_NEW_ACCOUNT_PASSWORD);
    EndDialog(IDOK);
}
