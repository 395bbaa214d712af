#pragma once
// The account choice's list: one two-line row per local account, the user name over
// the account's folder. Each row holds a copy of its account, freed with the row.
#include "app/startup/AccountList.h"
#include "controls/MultiLineListView.h"

class COskanReaderAccountListCtrl : public CQelMultiLineListCtrl {
public:
    COskanReaderAccountListCtrl() : CQelMultiLineListCtrl(2) {}

    BOOL OnInitControl() override;
    // Lists the accounts afresh: every folder is enumerated and its database opened again.
    void Fill();
    // The row's account, nullptr when the row has none.
    const TESSARYACCOUNTDATA* GetAccount(int item) const;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    void DrawItemLine(HDC dc, int item, int subItem, UINT state, const RECT& line, UINT format, LPARAM data,
                      int lineIndex) override;
};
