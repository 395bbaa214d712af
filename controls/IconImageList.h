#pragma once
// A cache of small icons loaded from files, one image per icon file path whatever its
// letter case; shared by the list box, the folder tree and the document list. The user
// creates the image list on first use and draws from GetImageList().
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "framework/GdiOwners.h"

class CQelIconImageList {
public:
    // 16 x 16, 32-bit colour with a mask.
    BOOL Create();
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
