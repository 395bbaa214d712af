#pragma once
// A user name and sealed password kept in the settings file ("Common").

#include <windows.h>

#include <string>

// TRUE only when both values are there.
BOOL QelGetSavedCredentials(std::wstring& user, std::wstring& password);
// TRUE only when both values reached the settings file.
BOOL QelSetSavedCredentials(const wchar_t* user, const wchar_t* password);
