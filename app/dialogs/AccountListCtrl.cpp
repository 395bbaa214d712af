#include "app/dialogs/AccountListCtrl.h"

#include <memory>

BOOL COskanReaderAccountListCtrl::OnInitControl()
{
    CQelMultiLineListCtrl::OnInitControl();
    Fill();
    return TRUE;
}

void COskanReaderAccountListCtrl::Fill()
{
    SendMessage(LVM_DELETEALLITEMS);
    const CTessaryAccountList accounts;
    for (const TESSARYACCOUNTDATA& account : accounts.Accounts()) {
        auto copy = std::make_unique<TESSARYACCOUNTDATA>(account);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
        item.pszText = const_cast<wchar_t*>(account.userName.c_str());
        item.lParam = reinterpret_cast<LPARAM>(copy.get());
        if (SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0)
            copy.release();  // the row owns it now
    }
}

const TESSARYACCOUNTDATA* COskanReaderAccountListCtrl::GetAccount(int item) const
{
    LVITEMW row{};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    if (item < 0 || !SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row)))
        return nullptr;
    return reinterpret_cast<const TESSARYACCOUNTDATA*>(row.lParam);
}

BOOL COskanReaderAccountListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                       LRESULT& result, DWORD mapId)
{
    if (message == OCM__BASE + WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == m_hWnd && header->code == LVN_DELETEITEM) {
            std::unique_ptr<TESSARYACCOUNTDATA>(
                reinterpret_cast<TESSARYACCOUNTDATA*>(reinterpret_cast<const NMLISTVIEW*>(lParam)->lParam));
            result = 0;
            return TRUE;
        }
    }
    return CQelMultiLineListCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void COskanReaderAccountListCtrl::DrawItemLine(HDC dc, int, int, UINT state, const RECT& line, UINT, LPARAM data,
                                               int lineIndex)
{
    const auto* account = reinterpret_cast<const TESSARYACCOUNTDATA*>(data);
    if (!account)
        return;
    const int colour = (state & LVIS_SELECTED) ? COLOR_HIGHLIGHTTEXT : lineIndex == 0 ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW;
    ::SetTextColor(dc, ::GetSysColor(colour));
    ::SetBkMode(dc, TRANSPARENT);
    RECT area = line;
    const std::wstring& text = lineIndex == 0 ? account->userName : account->folder;
    ::DrawTextW(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
