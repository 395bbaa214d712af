#pragma once
// The browser of a document view: it shows one document through "oskan://<key>" and
// keeps it there. Frames of the page navigate freely; any other top-level address
// (another entry of the same archive too) is cancelled and opened in a new HTML tab,
// and windows the page opens land in new tabs as well.
#include <windows.h>

#include <string>

#include "app/views/AtlBrowser.h"
#include "app/views/ReaderBrowserCoreWindow.h"
#include "librarydata/Database.h"

class CReaderTabView;

class CReaderDocumentBrowserView : public CAtlBrowser {
public:
    explicit CReaderDocumentBrowserView(CReaderTabView* tabView);

    static std::wstring GetDocumentUrl(const TESSARYDOCUMENTDATA& document);

    HWND Create(HWND parent);
    // Keeps the document and navigates the same browser to it.
    void SetDocument(const TESSARYDOCUMENTDATA& document);
    const TESSARYDOCUMENTDATA& GetDocumentData() const { return m_document; }

protected:
    BOOL OnBeforeNavigate2(IDispatch* frame, const std::wstring& url, DWORD flags, const std::wstring& targetFrame,
                           const std::vector<BYTE>& postData, const std::wstring& headers) override;
    BOOL OnNewWindow2(Microsoft::WRL::ComPtr<IDispatch>& window) override;
    void OnNavigateComplete2(IDispatch* frame, const std::wstring& url) override;

private:
    CReaderTabView* m_tabView;
    TESSARYDOCUMENTDATA m_document;
    CReaderBrowserCoreWindow m_coreWindow;
};
