#include "librarydata/AccountFolder.h"

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "librarydata/Database.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

// Windows opens these as devices, whatever the extension or folder.
bool IsDeviceName(const std::wstring& name)
{
    static const wchar_t* const devices[] = {L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4",
                                             L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3",
                                             L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9"};
    std::wstring base = name.substr(0, name.find(L'.'));
    base.erase(base.find_last_not_of(L' ') + 1);
    for (const wchar_t* device : devices) {
        if (_wcsicmp(base.c_str(), device) == 0)
            return true;
    }
    return false;
}

}  // namespace

std::wstring GetAccountFolder(const wchar_t* userName)
{
    std::wstring folder = QelGetDataFolder() + (userName ? userName : L"");
    QelAppendPathSeparator(folder);
    return folder;
}

BOOL IsValidAccountName(const wchar_t* userName)
{
    if (!userName || !*userName)
        return FALSE;
    const std::wstring name = userName;
    for (const wchar_t c : name) {
        if (c < 0x20 || std::wcschr(L"\\/:*?\"<>|", c))
            return FALSE;
    }
    // Windows drops trailing dots and blanks, so "ann." would open the folder
    // of "ann"; "." and ".." end here too.
    if (name.back() == L'.' || name.back() == L' ')
        return FALSE;
    return !IsDeviceName(name);
}

BOOL CreateAccount(const wchar_t* userName, const wchar_t* password)
{
    if (!IsValidAccountName(userName)) {
        TessaryWriteLog(QelFormatString1(L"The user name cannot name an account folder: %1", userName));
        return FALSE;
    }
    const std::wstring folder = GetAccountFolder(userName);
    QelCreateDirectoryTree(folder.c_str());
    CTessaryDatabase database;
    if (!database.Open(folder.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to open database: %1", folder.c_str()));
        return FALSE;
    }
    // Both values or neither: an account left with a user name and no
    // password could never sign in again without asking.
    if (!database.BeginTransaction()) {
        TessaryWriteLog(QelFormatString1(L"Failed to begin the account's transaction: %1", folder.c_str()));
        return FALSE;
    }
    // Any return before the commit closes the database, which drops both writes.
    if (!database.SetAccountUserName(userName)) {
        // Formatted in two pieces: a "%2" in the folder must not take the user name.
        TessaryWriteLog(QelFormatString1(L"Failed to set user name: %1", folder.c_str()) +
                        QelFormatString1(L", %1", userName));
        return FALSE;
    }
    if (!database.SetAccountPassword(password)) {
        TessaryWriteLog(QelFormatString1(L"Failed to set password: %1", folder.c_str()));
        return FALSE;
    }
    if (!database.CommitTransaction()) {
        TessaryWriteLog(QelFormatString1(L"Failed to store the account: %1", folder.c_str()));
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
