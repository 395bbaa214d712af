#include "app/views/ReaderDocumentView.h"

#include <commctrl.h>

#include "foundation/Translations.h"
#include "framework/ActiveXIds.h"
#include "resources/ResourceIds.h"

CReaderDocumentView::CReaderDocumentView(CTessaryDatabase* database, CReaderTabView* tabView,
                                         const TESSARYDOCUMENTDATA& document)
    : CReaderViewBase(tabView), m_database(database), m_browser(tabView), m_attachments(database),
      m_document(document)
{
}

void CReaderDocumentView::SetDocument(const TESSARYDOCUMENTDATA& document)
{
    m_document = document;
    m_browser.SetDocument(document);
    m_attachments.SetDocument(document);
    UpdateAttachmentsPane();
}

UINT CReaderDocumentView::QueryCommand(UINT id)
{
    return id == ID_ATTACHMENTS ? kReaderCommandEnabled : 0;
}

void CReaderDocumentView::OnCommand(UINT id)
{
    if (id == ID_ATTACHMENTS)
        SetSinglePaneMode(GetSinglePaneMode() != SPLIT_PANE_NONE ? SPLIT_PANE_NONE : SPLIT_PANE_TOP);
}

void CReaderDocumentView::LoadSettings()
{
    RestoreSplitterPos(L"DocumentsInfoSplitter");
}

void CReaderDocumentView::OnCreate()
{
    SetMinPaneSize(120);
    SetBarWidth(6);
    SetFullDrag(FALSE);
    SetSplitterExtendedStyle(SPLIT_BOTTOMALIGNED);
    SetSplitterPos(120, FALSE);

    m_browser.SetDocument(m_document);
    m_browser.Create(m_hWnd);

    m_infoPane.SetPaneContainerStyle(PANECNT_VERTICAL);
    m_infoPane.Create(m_hWnd, RECT{}, L"Document Information",
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_infoTabs.Create(m_infoPane, RECT{});
    m_infoPane.SetClient(m_infoTabs);
    m_attachments.Create(m_infoTabs, RECT{}, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_VSCROLL);
    m_attachments.SetDocument(m_document);
    m_infoTabs.AddPage(m_attachments, QelTranslateStringResource(IDS_ATTACHMENTS).c_str());

    SetSplitterPanes(m_browser, m_infoPane);
    UpdateAttachmentsPane();
}

void CReaderDocumentView::UpdateAttachmentsPane()
{
    const BOOL withAttachments = !m_document.documentGuid.empty() && m_database->GetAttachmentCount(m_document) > 0;
    SetSinglePaneMode(withAttachments ? SPLIT_PANE_NONE : SPLIT_PANE_TOP);
}

BOOL CReaderDocumentView::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE: {
        const BOOL handled = CQelVistaSplitterWindowT::ProcessWindowMessage(hwnd, message, wParam, lParam, result,
                                                                            mapId);
        if (handled && result == -1)
            return TRUE;
        OnCreate();
        result = 0;
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) != ID_PANE_CLOSE)
            break;
        SetSinglePaneMode(SPLIT_PANE_TOP);
        result = 0;
        return TRUE;
    case WM_FORWARDMSG:
        // The browser control translates its own accelerators.
        result = m_browser.IsWindow() ? m_browser.SendMessage(WM_FORWARDMSG, 0, lParam) : 0;
        return TRUE;
    default:
        break;
    }
    return CQelVistaSplitterWindowT::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
