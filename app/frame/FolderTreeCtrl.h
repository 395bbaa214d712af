#pragma once
// The frame's folder tree: the library tree with the program's icons and a context menu
// whose one entry, "Refresh", reloads it.
#include "app/frame/TessaryFolderTreeCtrl.h"
#include "framework/GdiOwners.h"

class CFolderTreeCtrl : public CTessaryFolderTreeCtrl {
public:
    explicit CFolderTreeCtrl(CTessaryDatabase* database);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    HMENU GetContextMenu() override;

private:
    CMenuOwner m_menu;
};
