// Local accounts: one folder per user name under Data\, holding index.db with
// the user name and the sealed password.
#pragma once

#include <windows.h>

#include <string>

// Data folder + user name + "\".
std::wstring GetAccountFolder(const wchar_t* userName);
// The user name can be an account folder of its own directly under Data\: it
// holds none of \ / : * ? " < > | nor a control character, does not end with a
// dot or a blank, and names no device.
BOOL IsValidAccountName(const wchar_t* userName);
// Creates the account's folder and database, or reuses them, and stores the
// user name and the password (sealed); an existing account gets the new
// password. A user name that cannot be a folder is refused with a log line.
BOOL CreateAccount(const wchar_t* userName, const wchar_t* password);
// The folder holds an index.db whose stored user name is the folder's name
// (ASCII letter case aside).
BOOL IsAccountFolder(const wchar_t* folder);
