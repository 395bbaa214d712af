#pragma once
// A cache of icons loaded from files, one image per icon file path whatever its letter
// case; shared by the list box, the folder tree, the document list and the multi-line
// list. The user creates the image list on first use and draws from GetImageList().
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "framework/GdiOwners.h"

class CQelIconImageList {
public:
    // size x size, 32-bit colour with a mask; files are loaded at that size.
    BOOL Create(int size = 16);
    HIMAGELIST GetImageList() const { return m_list; }

    // The image of the icon file, loaded once; -1 when it cannot be loaded.
    int AddIconFile(const wchar_t* path);
    // Appends icon under key (a lower-cased path); the icon stays the caller's.
    int AddIcon(HICON icon, const std::wstring& key);
    int FindIcon(const wchar_t* path) const;

private:
    CImageListOwner m_list;
    std::map<std::wstring, int> m_index;
};
