#include <string>
#include <vector>

#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/NewAccountDlg.h"
#include "app/frame/DocumentFileName.h"
#include "app/frame/MainFrame.h"
#include "app/frame/MainFrameMessages.h"
#include "foundation/MessageBox.h"
#include "librarydata/AccountFolder.h"
#include "resources/ResourceIds.h"

BOOL CMainFrame::OnCommand(UINT id)
{
    switch (id) {
    case ID_UPDATE:
        m_syncDialog->StartSync();
        return TRUE;
    case ID_FULL_SCREEN:
        ToggleFullScreen();
        return TRUE;
    case ID_NEW_ACCOUNT:
        OnNewAccount();
        return TRUE;
    case ID_ABOUT:
        OnAbout();
        return TRUE;
    case ID_PRINT:
    case ID_PRINT_PREVIEW:
    case ID_PAGE_SETUP:
    case ID_ATTACHMENTS:
        OnViewCommand(id);
        return TRUE;
    case CReaderStatusBarSyncPane::kDetailsId:
        if (m_syncDialog->IsDialogWindow())
            m_syncDialog->ShowAndActivate();
        return TRUE;
    default:
        if (id >= ID_ZOOM && id <= ID_ZOOM_CUSTOM) {
            OnZoomCommand(id);
            return TRUE;
        }
        return FALSE;
    }
}

// Its own flag: "Bookmarks" also shows the documents splitter's right pane alone.
void CMainFrame::ToggleFullScreen()
{
    m_fullScreen = !m_fullScreen;
    ShowDocumentsPanes();
    m_catalogSplitter.SetSinglePaneMode(m_fullScreen ? SPLIT_PANE_RIGHT : SPLIT_PANE_NONE);
    m_statusBarPane.ShowWindow(m_fullScreen ? SW_HIDE : SW_SHOW);
    UpdateLayout();
    SetCommandCheck(ID_FULL_SCREEN, m_fullScreen);
}

void CMainFrame::ShowDocumentsPanes()
{
    const BOOL tabsOnly = m_fullScreen || m_chooser.GetCurrentEntry() == kBookmarksEntry;
    m_documentsSplitter.SetSinglePaneMode(tabsOnly ? SPLIT_PANE_RIGHT : SPLIT_PANE_NONE);
}

void CMainFrame::OnNewAccount()
{
    CNewAccountDlg dialog;
    if (dialog.DoModal(::GetActiveWindow()) != IDOK)
        return;
    // The running program keeps its account until the next start.
    const BOOL created = CreateAccount(dialog.m_userName.c_str(), dialog.m_password.c_str());
    QelMessageBoxById(created ? IDS_RESTART_TO_SWITCH : IDS_DATABASE_CREATE_FAILED, MB_ICONINFORMATION,
                      ::GetActiveWindow());
}

void CMainFrame::OnAbout()
{
    CAboutDlg dialog(L"Tessary");
    dialog.DoModal(::GetActiveWindow());
}

LRESULT CMainFrame::OnGetDocumentFileName(const wchar_t* request, wchar_t* reply)
{
    return AnswerDocumentFileName(m_database, request, reply);
}
