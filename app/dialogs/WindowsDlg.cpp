#include "app/dialogs/WindowsDlg.h"

#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

CWindowsDlg::CWindowsDlg(CWindowsDlgPages& pages) : CDialogObject(IDD_WINDOWS), m_pages(pages) {}

LRESULT CWindowsDlg::SendListMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageW(m_hWnd, IDC_WINDOWS_LIST, message, wParam, lParam);
}

BOOL CWindowsDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_WINDOWS_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                UpdateButtons();
            else if (HIWORD(wParam) == LBN_DBLCLK)
                OnActivate();
            result = 0;
            return TRUE;
        case IDC_WINDOWS_ACTIVATE:
            OnActivate();
            result = 0;
            return TRUE;
        case IDC_WINDOWS_CLOSE:
            OnCloseWindows();
            result = 0;
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(LOWORD(wParam));
            result = 0;
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    if (ProcessResizing(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CDialogObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CWindowsDlg::OnInitDialog()
{
    QelTranslateWindow(m_hWnd);
    const int count = m_pages.GetPageCount();
    for (int i = 0; i < count; ++i)
        SendListMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_pages.GetPageTitle(i).c_str()));
    const int active = m_pages.GetActivePage();
    if (active >= 0)
        SendListMessage(LB_SETSEL, TRUE, active);

    InitResizing(m_hWnd,
                 {{IDC_WINDOWS_LIST, kResizeSizeX | kResizeSizeY},
                  {IDC_WINDOWS_ACTIVATE, kResizeMoveX},
                  {IDC_WINDOWS_CLOSE, kResizeMoveX},
                  {IDOK, kResizeMoveX | kResizeMoveY},
                  {IDCANCEL, kResizeMoveX | kResizeMoveY}},
                 TRUE);
    const SIZE designed = GetMinTrackSize();
    SetMinTrackSize(SIZE{designed.cx / 2, designed.cy / 2});
    UpdateButtons();
}

void CWindowsDlg::UpdateButtons()
{
    const auto selected = static_cast<int>(SendListMessage(LB_GETSELCOUNT));
    CWindowRef(GetDlgItem(IDC_WINDOWS_ACTIVATE)).EnableWindow(selected == 1);
    CWindowRef(GetDlgItem(IDC_WINDOWS_CLOSE)).EnableWindow(selected >= 1);
}

void CWindowsDlg::OnActivate()
{
    int first = -1;
    if (SendListMessage(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) < 1 || first < 0)
        return;
    m_pages.ActivatePage(first);
    EndDialog(IDOK);
}

void CWindowsDlg::OnCloseWindows()
{
    int lowestClosed = -1;
    for (int line = static_cast<int>(SendListMessage(LB_GETCOUNT)) - 1; line >= 0; --line) {
        if (SendListMessage(LB_GETSEL, line) <= 0)
            continue;
        m_pages.ClosePage(line);
        SendListMessage(LB_DELETESTRING, line);
        lowestClosed = line;
    }
    if (lowestClosed < 0)
        return;
    if (lowestClosed < static_cast<int>(SendListMessage(LB_GETCOUNT)))
        SendListMessage(LB_SETSEL, TRUE, lowestClosed);
    // Setting the selection in code sends no LBN_SELCHANGE: the buttons follow it here.
    UpdateButtons();
}
