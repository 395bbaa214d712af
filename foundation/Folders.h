// The program's own folders, the system's folders and the computer's name.
// Every folder returned ends with a backslash.
#pragma once

#include <windows.h>

#include <string>

std::wstring QelGetExePath();
std::wstring QelGetExeFolder();
std::wstring QelGetModuleFolder(HMODULE module);
// The program folder + "Data\", created when missing.
std::wstring QelBuildDataFolderPath();
std::wstring QelGetDataFolder();
std::wstring QelGetTempPath();
std::wstring QelGetSystemFolder();
std::wstring QelGetWindowsFolder();
std::wstring QelGetProgramFilesFolder();
std::wstring QelGetMyDocumentsFolder();
std::wstring QelGetAppDataFolder();
std::wstring QelGetLocalAppDataLowFolder();
std::wstring QelGetUserProfileFolder();
std::wstring QelGetComputerName();
