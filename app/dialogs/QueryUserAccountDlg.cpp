#include "app/dialogs/QueryUserAccountDlg.h"

#include <shellapi.h>

#include <utility>

#include "app/dialogs/MakerWebSite.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

CQueryUserAccountDlg::CQueryUserAccountDlg(std::wstring userName, std::wstring password)
    : CDialogObject(IDD_QUERY_USER_ACCOUNT),
      CDialogBinding(static_cast<CWindowRef&>(*this)),
      m_userName(std::move(userName)),
      m_password(std::move(password))
{
}

BOOL CQueryUserAccountDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_QUERY_USER_ACCOUNT_EMAIL:
        case IDC_QUERY_USER_ACCOUNT_PASSWORD:
            if (HIWORD(wParam) == EN_CHANGE)
                UpdateOk();
            return TRUE;
        case IDC_QUERY_USER_ACCOUNT_REGISTER:
            ::ShellExecuteW(nullptr, L"open", kMakerWebSite, nullptr, nullptr, SW_SHOWNORMAL);
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

void CQueryUserAccountDlg::OnInitDialog()
{
    QelTranslateWindow(m_hWnd);
    CenterWindow(GetParent());
    ExchangeText(IDC_QUERY_USER_ACCOUNT_EMAIL, m_userName, FALSE);
    ExchangeText(IDC_QUERY_USER_ACCOUNT_PASSWORD, m_password, FALSE);
    UpdateOk();
}

void CQueryUserAccountDlg::UpdateOk()
{
    const BOOL both = ::GetWindowTextLengthW(GetDlgItem(IDC_QUERY_USER_ACCOUNT_EMAIL)) > 0 &&
                      ::GetWindowTextLengthW(GetDlgItem(IDC_QUERY_USER_ACCOUNT_PASSWORD)) > 0;
    CWindowRef(GetDlgItem(IDOK)).EnableWindow(both);
}

void CQueryUserAccountDlg::OnOK()
{
    // Enter reaches here while OK is disabled too.
    if (!CWindowRef(GetDlgItem(IDOK)).IsWindowEnabled())
        return;
    if (!ExchangeText(IDC_QUERY_USER_ACCOUNT_EMAIL, m_userName, TRUE, kUserNameLength) ||
        !ExchangeText(IDC_QUERY_USER_ACCOUNT_PASSWORD, m_password, TRUE, kPasswordLength))
        return;
    EndDialog(IDOK);
}
