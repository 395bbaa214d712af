#pragma once
// Reads the items of common controls that live in another process. Their messages
// carry pointers that the control writes through in its own address space, so the
// item records and text buffers are placed there (VirtualAllocEx) and read back.
#include <windows.h>

#include <string>
#include <vector>

// Every item of a tree view, depth first, each indented by two spaces per level.
std::vector<std::wstring> RemoteTreeItems(HWND tree);
// Selects the first item whose text, indentation aside, is text, as a click on it does.
bool RemoteSelectTreeItem(HWND tree, const std::wstring& text);
// One column's text of every row of a list view.
std::vector<std::wstring> RemoteListViewColumn(HWND list, int column);
// Selects and focuses one row of a list view, as a click on it does.
bool RemoteSelectListViewRow(HWND list, int row);
// The title of every tab of a tab control.
std::vector<std::wstring> RemoteTabTitles(HWND tabs);
// Every item of a list box with strings. LB_GETTEXT is one of the messages the system
// itself copies between processes, so a local buffer serves.
std::vector<std::wstring> ListBoxItems(HWND listBox);
