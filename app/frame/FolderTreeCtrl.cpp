#include "app/frame/FolderTreeCtrl.h"

#include "app/frame/PopupMenu.h"
#include "resources/ResourceIds.h"

CFolderTreeCtrl::CFolderTreeCtrl(CTessaryDatabase* database) : CTessaryFolderTreeCtrl(database)
{
    SetIconIds(IDI_BOOK, IDI_FOLDER, IDI_VIRTUAL_FOLDER);
}

HMENU CFolderTreeCtrl::GetContextMenu()
{
    return LoadPopupMenu(m_menu, IDR_FOLDER_TREE_MENU);
}

BOOL CFolderTreeCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                           DWORD mapId)
{
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == ID_REFRESH) {
        Refresh();
        result = 0;
        return TRUE;
    }
    return CTessaryFolderTreeCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
