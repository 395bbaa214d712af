#include "librarydata/AccountFolder.h"

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "librarydata/Database.h"

#include <shlwapi.h>

namespace {

void WriteLog(const std::wstring& text)
{
    TessaryGetGlobal()->WriteLog(text.c_str());
}

}  // namespace

std::wstring GetAccountFolder(const wchar_t* userName)
{
    std::wstring folder = QelGetDataFolder() + (userName ? userName : L"");
    QelAppendPathSeparator(folder);
    return folder;
}

BOOL CreateAccount(const wchar_t* userName, const wchar_t* password)
{
    const std::wstring folder = GetAccountFolder(userName);
    QelCreateDirectoryTree(folder.c_str());
    CTessaryDatabase database;
    if (!database.Open(folder.c_str())) {
        WriteLog(QelFormatString1(L"Failed to open database: %1", folder.c_str()));
        return FALSE;
    }
    if (!database.SetAccountUserName(userName)) {
        WriteLog(QelFormatString2(L"Failed to set user name: %1, %2", folder.c_str(), userName));
        return FALSE;
    }
    if (!database.SetAccountPassword(password)) {
        WriteLog(QelFormatString1(L"Failed to set password: %1", folder.c_str()));
        return FALSE;
    }
    database.Close();
    return TRUE;
}

BOOL IsAccountFolder(const wchar_t* folder)
{
    std::wstring path = folder ? folder : L"";
    QelAppendPathSeparator(path);
    if (!::PathFileExistsW((path + L"index.db").c_str()))
        return FALSE;
    CTessaryDatabase database;
    if (!database.Open(path.c_str()))
        return FALSE;
    const std::wstring userName = database.GetAccountUserName();
    return !userName.empty() && _wcsicmp(userName.c_str(), QelExtractFolderName(path.c_str()).c_str()) == 0;
}
