#pragma once
// The attachments of the document a document view shows: name, size on disk and the
// shell's type name, one row each. The files are the plain copies the sync wrote into
// the account's Attachments folder; opening one hands it to the shell. Each row owns a
// copy of its attachment record.
#include <windows.h>

#include <string>
#include <vector>

#include "controls/ListView.h"
#include "framework/GdiOwners.h"
#include "librarydata/Database.h"

class CAttachmentListCtrl : public CQelVistaListCtrl {
public:
    explicit CAttachmentListCtrl(CTessaryDatabase* database) : m_database(database) {}

    void SetDocument(const TESSARYDOCUMENTDATA& document);
    void Refresh();
    // The selected rows' records in selection order; rows without a record are logged and skipped.
    BOOL GetSelectedAttachments(std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments);
    // Opens every selected file with the shell; a file the shell cannot open is left to it.
    void OpenSelected();

    BOOL OnInitControl() override;
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    // The one way out to the shell, so that tests can see what would be launched.
    virtual void ExecuteShellVerb(const wchar_t* verb, const std::wstring& file, int show);

    int CompareItemsCustom(const LVCompareParam& first, const LVCompareParam& second, int column) override;
    void DeleteItemData(LPARAM data) override;
    HMENU GetContextMenu() override;
    void PrepareContextMenu(int item, HMENU menu) override;

private:
    void AddAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment);
    DWORD GetAttachmentSize(LPARAM data) const;

    CTessaryDatabase* m_database = nullptr;
    TESSARYDOCUMENTDATA m_document;
    CMenuOwner m_menu;
};
