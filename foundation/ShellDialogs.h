#pragma once
// The shell's folder-browse and Open With dialogs.

#include <windows.h>

#include <string>

// Starts at folder, or at the folder last chosen in this run when folder is
// empty; on OK folder is the choice with a trailing separator.
BOOL QelBrowseForFolder(HWND owner, const wchar_t* title, std::wstring& folder);
// The same with the translated string titleId as title.
BOOL QelBrowseForFolderById(HWND owner, UINT titleId, std::wstring& folder);
void QelShowOpenWithDialog(const wchar_t* path);
