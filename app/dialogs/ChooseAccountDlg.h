#pragma once
// The account choice among several local accounts; after OK m_account is the chosen one.
#include "app/dialogs/AccountListCtrl.h"
#include "framework/DialogObject.h"

class CChooseAccountDlg : public CDialogObject {
public:
    CChooseAccountDlg();

    TESSARYACCOUNTDATA m_account;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnInitDialog();
    void OnOK();
    void OnListNotify(const NMHDR& header);

    COskanReaderAccountListCtrl m_list;
};
