#pragma once
// The local accounts: the sub-folders of the data folder whose database opens and
// stores the folder's own name as its user name. Filled when made; nobody keeps it.
#include <windows.h>

#include <string>
#include <vector>

struct TESSARYACCOUNTDATA {
    std::wstring folder;  // full path with a trailing backslash
    std::wstring userName;
    std::wstring password;  // unsealed
};

// A folder left out because its database did not open; its files are left as they are.
struct TESSARYUNOPENEDACCOUNT {
    std::wstring folder;  // full path with a trailing backslash
    BOOL damaged;  // the file is no database or a broken one, rather than one that cannot be opened
};

class CTessaryAccountList {
public:
    CTessaryAccountList() { Load(); }

    // Opening a folder's database creates index.db where it is missing, so an empty
    // folder becomes a database with no user name and is skipped.
    void Load();
    // Creates or reuses the account, then loads the list again.
    BOOL CreateAccount(const wchar_t* userName, const wchar_t* password);

    const std::vector<TESSARYACCOUNTDATA>& Accounts() const { return m_accounts; }
    BOOL IsEmpty() const { return m_accounts.empty(); }
    const std::vector<TESSARYUNOPENEDACCOUNT>& UnopenedAccounts() const { return m_unopened; }

private:
    std::vector<TESSARYACCOUNTDATA> m_accounts;
    std::vector<TESSARYUNOPENEDACCOUNT> m_unopened;
};
