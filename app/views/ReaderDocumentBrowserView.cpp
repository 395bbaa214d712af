#include "app/views/ReaderDocumentBrowserView.h"

#include <shlwapi.h>

#include "app/views/OskanUrl.h"
#include "app/views/ReaderTabView.h"

using Microsoft::WRL::ComPtr;

namespace {

// COM identity: the same object answers IUnknown with the same pointer.
BOOL IsSameObject(IUnknown* first, IUnknown* second)
{
    ComPtr<IUnknown> one;
    ComPtr<IUnknown> other;
    // Get(): mingw-w64's ComPtr compares as two truth values.
    return first && second && SUCCEEDED(first->QueryInterface(IID_PPV_ARGS(&one))) &&
           SUCCEEDED(second->QueryInterface(IID_PPV_ARGS(&other))) && one.Get() == other.Get();
}

}  // namespace

CReaderDocumentBrowserView::CReaderDocumentBrowserView(CReaderTabView* tabView) : m_tabView(tabView)
{
    m_noContextMenu = 1;
    m_no3DBorder = TRUE;
    m_dialog = TRUE;
    m_openNewWindow = TRUE;
}

std::wstring CReaderDocumentBrowserView::GetDocumentUrl(const TESSARYDOCUMENTDATA& document)
{
    return MakeOskanUrl(document.subscriptionGuid.c_str(), document.documentGuid.c_str());
}

HWND CReaderDocumentBrowserView::Create(HWND parent)
{
    return CAtlBrowser::Create(parent, GetDocumentUrl(m_document).c_str());
}

void CReaderDocumentBrowserView::SetDocument(const TESSARYDOCUMENTDATA& document)
{
    m_document = document;
    if (IsWindow())
        Navigate(GetDocumentUrl(m_document).c_str());
}

BOOL CReaderDocumentBrowserView::OnBeforeNavigate2(IDispatch* frame, const std::wstring& url, DWORD,
                                                   const std::wstring&, const std::vector<BYTE>&, const std::wstring&)
{
    // Frames of the page, the document's own page and the browser's own resources stay here.
    if (!IsSameObject(frame, GetWebBrowser()))
        return FALSE;
    if (IsDocumentOwnUrl(url.c_str(), GetDocumentUrl(m_document).c_str()))
        return FALSE;
    if (::StrCmpNIW(url.c_str(), L"res://", 6) == 0)
        return FALSE;
    m_tabView->OpenUrl(url.c_str());
    return TRUE;
}

BOOL CReaderDocumentBrowserView::OnNewWindow2(ComPtr<IDispatch>& window)
{
    const int index = m_tabView->OpenUrl(nullptr);
    CReaderViewBase* view = m_tabView->GetPageView(index);
    if (CAtlWebBrowser* browser = view ? view->GetBrowser() : nullptr)
        window = browser->GetWebBrowser();
    return FALSE;
}

void CReaderDocumentBrowserView::OnNavigateComplete2(IDispatch*, const std::wstring&)
{
    if (m_coreWindow.IsWindow())
        return;
    if (const HWND core = CReaderBrowserCoreWindow::FindCoreWindow(m_hWnd))
        m_coreWindow.SubclassWindow(core);
}
