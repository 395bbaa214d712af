#include "app/startup/ChooseAccount.h"

#include <algorithm>
#include <vector>

#include "app/dialogs/ChooseAccountDlg.h"
#include "app/dialogs/NewAccountDlg.h"
#include "app/startup/AccountList.h"
#include "foundation/MessageBox.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Paths.h"
#include "resources/ResourceIds.h"

namespace {

// A box of more lines outgrows the screen and puts its button out of reach; the log names
// every folder.
constexpr size_t kNamedUnopenedAccounts = 10;

// One box before the choice for every folder left out because its database did not open:
// otherwise the account would vanish without a word, and making it anew would fail.
void ReportUnopenedAccounts(const CTessaryAccountList& accounts)
{
    const std::vector<TESSARYUNOPENEDACCOUNT>& unopened = accounts.UnopenedAccounts();
    if (unopened.empty())
        return;
    std::wstring folders;
    const size_t named = std::min(unopened.size(), kNamedUnopenedAccounts);
    for (size_t i = 0; i < named; ++i) {
        const UINT reason = unopened[i].damaged ? IDS_ACCOUNT_DATABASE_DAMAGED : IDS_ACCOUNT_DATABASE_NOT_OPENED;
        std::wstring folder = unopened[i].folder;
        QelRemovePathSeparator(folder);
        folders += QelFormatStringId1(reason, folder.c_str()) + L"\n";
    }
    if (unopened.size() > named)
        folders += QelFormatStringId1(IDS_ACCOUNTS_NOT_OPENED_MORE,
                                      QelIntToStr(static_cast<int>(unopened.size() - named)).c_str()) +
                   L"\n";
    QelMessageBox(QelFormatStringId1(IDS_ACCOUNTS_NOT_OPENED, folders.c_str()).c_str(), MB_ICONWARNING,
                  ::GetActiveWindow());
}

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
    ReportUnopenedAccounts(accounts);
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
