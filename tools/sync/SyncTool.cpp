// tessary-sync.exe [--cancel-after N] USER PASSWORD [RETRY ...]
//
// Syncs one account of the Data\ folder beside the program without a window,
// as the reader's "Update" does, and prints every sync event as one line.
// A missing account is created first with PASSWORD; an existing one keeps its
// stored password. Each sign-in question that the reader would answer with
// its account dialog takes the next RETRY password (stored sealed, as the
// dialog does); with none left the question is cancelled. The services are
// reached through the system's proxy setting. Exit code 0: the run succeeded;
// 1: it failed.

#include "ConsoleOutput.h"
#include "ConsoleSyncEvents.h"
#include "framework/ComInitialize.h"
#include "foundation/Global.h"
#include "foundation/MessageBox.h"
#include "foundation/MessageFormat.h"
#include "librarydata/AccountFolder.h"
#include "librarydata/Database.h"
#include "librarydata/SyncEngine.h"

#include <deque>
#include <string>

namespace {

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;

struct CArguments
{
    int cancelAfter = 0;
    std::wstring userName;
    std::wstring password;
    std::deque<std::wstring> retryPasswords;
};

BOOL ParseCount(const wchar_t* text, int& value)
{
    if (!text || !*text || std::wcslen(text) > 9)
        return FALSE;
    value = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p < L'0' || *p > L'9')
            return FALSE;
        value = value * 10 + (*p - L'0');
    }
    return value > 0;
}

BOOL ParseArguments(int argc, wchar_t** argv, CArguments& arguments)
{
    int next = 1;
    if (next < argc && std::wcscmp(argv[next], L"--cancel-after") == 0) {
        if (next + 1 >= argc || !ParseCount(argv[next + 1], arguments.cancelAfter))
            return FALSE;
        next += 2;
    }
    if (argc - next < 2)
        return FALSE;
    arguments.userName = argv[next++];
    arguments.password = argv[next++];
    while (next < argc)
        arguments.retryPasswords.push_back(argv[next++]);
    return TRUE;
}

int Sync(const CArguments& arguments, CConsoleOutput& output, CConsoleOutput& errors)
{
    if (!IsValidAccountName(arguments.userName.c_str())) {
        errors.WriteLine(L"tessary-sync: the user name cannot name an account folder: " + arguments.userName);
        return kFailed;
    }
    const std::wstring folder = GetAccountFolder(arguments.userName.c_str());
    if (!IsAccountFolder(folder.c_str()) && !CreateAccount(arguments.userName.c_str(), arguments.password.c_str())) {
        errors.WriteLine(L"tessary-sync: failed to create the account in " + folder);
        return kFailed;
    }
    CTessaryDatabase database;
    if (!database.Open(folder.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to open database: %1", folder.c_str()));
        errors.WriteLine(L"tessary-sync: failed to open the database in " + folder);
        return kFailed;
    }
    CConsoleSyncEvents events(&database, arguments.retryPasswords, arguments.cancelAfter, output);
    events.Reset();
    BOOL succeeded = TessarySyncAccount(&events, TRUE);
    if (!events.EndRun())
        succeeded = FALSE;
    return succeeded ? kSucceeded : kFailed;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // No one is there to close a box: its text goes to the log instead.
    QelEnableMessageBoxes(FALSE);
    CConsoleOutput output(STD_OUTPUT_HANDLE);
    CConsoleOutput errors(STD_ERROR_HANDLE);
    CArguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        errors.WriteLine(L"usage: tessary-sync.exe [--cancel-after N] USER PASSWORD [RETRY ...]");
        return kFailed;
    }
    // COM for this thread, as the reader's sync worker has it.
    const CComInitialize com;
    return Sync(arguments, output, errors);
}
