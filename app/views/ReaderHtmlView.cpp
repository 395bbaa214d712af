#include "app/views/ReaderHtmlView.h"

#include "app/views/ReaderTabView.h"

CReaderHtmlView::CReaderHtmlView(CReaderTabView* tabView) : CReaderViewBase(tabView)
{
    m_no3DBorder = TRUE;
}

void CReaderHtmlView::OnTitleChange(const std::wstring& title)
{
    m_tabView->SetPageTitleByView(this, title.c_str());
}
