#include "app/startup/AccountList.h"

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "librarydata/AccountFolder.h"
#include "librarydata/Database.h"

void CTessaryAccountList::Load()
{
    m_accounts.clear();
    m_unopened.clear();
    std::vector<std::wstring> folders;
    QelEnumFolders(QelGetDataFolder().c_str(), folders, 0);
    for (std::wstring folder : folders) {
        QelAppendPathSeparator(folder);
        CTessaryDatabase database;
        if (!database.Open(folder.c_str())) {
            TessaryWriteLog(QelFormatString1(L"Failed to open database: %1", folder.c_str()));
            m_unopened.push_back({folder, database.IsLastErrorDamage()});
            continue;
        }
        TESSARYACCOUNTDATA account{folder, database.GetAccountUserName(), database.GetAccountPassword()};
        const std::wstring folderName = QelExtractFolderName(folder.c_str());
        // ASCII letters only: the folder was made from this very user name.
        if (_wcsicmp(folderName.c_str(), account.userName.c_str()) != 0) {
            TessaryWriteLog(QelFormatString2(L"Failed to open database: folder name: %1, user name: %2",
                                             folderName.c_str(), account.userName.c_str()));
            continue;
        }
        m_accounts.push_back(std::move(account));
    }
}

BOOL CTessaryAccountList::CreateAccount(const wchar_t* userName, const wchar_t* password)
{
    if (!::CreateAccount(userName, password))
        return FALSE;
    Load();
    return TRUE;
}
