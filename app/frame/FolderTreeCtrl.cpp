#include "app/frame/FolderTreeCtrl.h"

#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

CFolderTreeCtrl::CFolderTreeCtrl(CTessaryDatabase* database) : CTessaryFolderTreeCtrl(database)
{
    SetIconIds(IDI_BOOK, IDI_FOLDER, IDI_VIRTUAL_FOLDER);
}

HMENU CFolderTreeCtrl::GetContextMenu()
{
    if (!m_menu) {
        m_menu.Attach(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(IDR_FOLDER_TREE_MENU)));
        QelTranslateMenu(m_menu);
    }
    return m_menu ? ::GetSubMenu(m_menu, 0) : nullptr;
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
