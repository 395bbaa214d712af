#include <docobj.h>
#include <mshtmcid.h>

#include <vector>

#include "app/frame/MainFrame.h"
#include "app/views/AtlWebBrowser.h"
#include "resources/ResourceIds.h"

void CMainFrame::OnDocumentOpen(CTessaryDocumentListCtrl& list)
{
    TESSARYDOCUMENTDATA document;
    if (list.GetSelectedDocument(document))
        m_tabView.OpenDocument(document, FALSE);
}

void CMainFrame::OnDocumentsOpenInNewTabs(CTessaryDocumentListCtrl& list)
{
    std::vector<TESSARYDOCUMENTDATA> documents;
    list.GetSelectedDocuments(documents);
    for (const TESSARYDOCUMENTDATA& document : documents)
        m_tabView.OpenDocument(document, TRUE);
}

BOOL CMainFrame::PreTranslateMessage(MSG* message)
{
    return m_tabView.PreTranslateMessage(message) || CFrameWindowObject::PreTranslateMessage(message);
}

void CMainFrame::OnViewCommand(UINT id)
{
    switch (id) {
    case ID_PRINT:
        ExecBrowserCommand(IDM_PRINT);
        break;
    case ID_PRINT_PREVIEW:
        ExecBrowserCommand(IDM_PRINTPREVIEW);
        break;
    case ID_PAGE_SETUP:
        ExecBrowserCommand(IDM_PAGESETUP);
        break;
    case ID_ATTACHMENTS:
        // No button or menu item carries it; a page that takes it is given it.
        if (CReaderViewBase* view = m_tabView.GetActiveView(); view && view->QueryCommand(id) == kReaderCommandEnabled)
            view->OnCommand(id);
        break;
    default:
        break;
    }
}

HRESULT CMainFrame::ExecBrowserCommand(DWORD command)
{
    CReaderViewBase* view = m_tabView.GetActiveView();
    CAtlWebBrowser* browser = view ? view->GetBrowser() : nullptr;
    if (!browser)
        return E_FAIL;
    return browser->ExecMshtmlCommandIfEnabled(command, OLECMDF_SUPPORTED | OLECMDF_ENABLED, OLECMDEXECOPT_DODEFAULT);
}
