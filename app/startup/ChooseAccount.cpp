#include "app/startup/ChooseAccount.h"

#include "app/dialogs/ChooseAccountDlg.h"
#include "app/dialogs/NewAccountDlg.h"
#include "app/startup/AccountList.h"
#include "foundation/MessageBox.h"
#include "resources/ResourceIds.h"

namespace {

BOOL CreateFirstAccount(CTessaryAccountList& accounts, std::wstring& folder)
{
    CNewAccountDlg dialog;
    if (dialog.DoModal(::GetActiveWindow()) != IDOK)
        return FALSE;
    // A stored account that the list does not find again (its folder named otherwise
    // than its user name reads back) is a failure to say, not a silent end.
    if (!accounts.CreateAccount(dialog.m_userName.c_str(), dialog.m_password.c_str()) || accounts.IsEmpty()) {
        QelMessageBoxById(IDS_DATABASE_CREATE_FAILED, MB_ICONINFORMATION, ::GetActiveWindow());
        return FALSE;
    }
    folder = accounts.Accounts().front().folder;
    return TRUE;
}

}  // namespace

BOOL ChooseAccount(std::wstring& folder)
{
    CTessaryAccountList accounts;
    if (accounts.IsEmpty())
        return CreateFirstAccount(accounts, folder);
    if (accounts.Accounts().size() == 1) {
        folder = accounts.Accounts().front().folder;
        return TRUE;
    }
    CChooseAccountDlg dialog;
    if (dialog.DoModal(::GetActiveWindow()) != IDOK)
        return FALSE;
    folder = dialog.m_account.folder;
    return TRUE;
}
