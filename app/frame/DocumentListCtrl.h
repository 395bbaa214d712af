#pragma once
// The frame's document list: the program's document and attachment icons, and a
// context menu that opens the chosen documents in new tabs.
#include "app/frame/TessaryDocumentListCtrl.h"
#include "framework/GdiOwners.h"

class CDocumentListCtrl : public CTessaryDocumentListCtrl {
public:
    explicit CDocumentListCtrl(CTessaryDatabase* database);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    HMENU GetContextMenu() override;
    void PrepareContextMenu(int item, HMENU menu) override;

private:
    CMenuOwner m_menu;
};
