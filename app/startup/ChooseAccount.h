#pragma once
// Which account this run shows: none yet asks for a new one, one is taken silently,
// several are offered for choice.
#include <windows.h>

#include <string>

// FALSE when the user cancelled or the account could not be made.
BOOL ChooseAccount(std::wstring& folder);
