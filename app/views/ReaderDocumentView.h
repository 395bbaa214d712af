#pragma once
// A page of the tab view showing one document of the library: its browser above and,
// below, the "Document Information" pane with the document's attachments. The pane
// shows only when the document has attachments; its close button and the "Attachments"
// command hide and show it.
#include <windows.h>

#include <string>

#include "app/views/AttachmentListCtrl.h"
#include "app/views/ReaderDocumentBrowserView.h"
#include "app/views/ReaderViewBase.h"
#include "controls/SplitterWindow.h"
#include "foundation/Settings.h"
#include "framework/PaneContainerWindow.h"
#include "framework/TabViewWindow.h"
#include "librarydata/Database.h"

class CReaderDocumentView : public CQelVistaSplitterWindowT<false, CQelEmptySettings>, public CReaderViewBase {
public:
    CReaderDocumentView(CTessaryDatabase* database, CReaderTabView* tabView, const TESSARYDOCUMENTDATA& document);

    void SetDocument(const TESSARYDOCUMENTDATA& document);
    const TESSARYDOCUMENTDATA& GetDocument() const { return m_document; }
    CReaderDocumentBrowserView& GetBrowserView() { return m_browser; }

    int GetViewType() const override { return kReaderDocumentView; }
    HWND GetWindow() const override { return m_hWnd; }
    std::wstring GetTitle() const override { return m_document.title; }
    UINT QueryCommand(UINT id) override;
    void OnCommand(UINT id) override;
    BOOL CanZoom() override { return TRUE; }
    void SetZoom(int percent) override { m_browser.SetZoom(percent); }
    int GetZoom() override { return m_browser.GetZoom(); }
    void LoadSettings() override;
    CAtlWebBrowser* GetBrowser() override { return &m_browser; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnCreate();
    void UpdateAttachmentsPane();

    CTessaryDatabase* m_database;
    CReaderDocumentBrowserView m_browser;
    CTabViewWindow m_infoTabs;
    CPaneContainerWindow m_infoPane;
    CAttachmentListCtrl m_attachments;
    TESSARYDOCUMENTDATA m_document;
};
