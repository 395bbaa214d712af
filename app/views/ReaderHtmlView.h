#pragma once
// A page of the tab view showing any address that is not a document of the library: a
// link that left a document, or a window a page opened. Its tab follows the page title.
#include <windows.h>

#include <string>

#include "app/views/AtlBrowser.h"
#include "app/views/ReaderViewBase.h"

class CReaderHtmlView : public CAtlBrowser, public CReaderViewBase {
public:
    explicit CReaderHtmlView(CReaderTabView* tabView);

    int GetViewType() const override { return kReaderHtmlView; }
    HWND GetWindow() const override { return m_hWnd; }
    std::wstring GetTitle() const override { return L"blank"; }
    BOOL CanZoom() override { return TRUE; }
    void SetZoom(int percent) override { CAtlWebBrowser::SetZoom(percent); }
    int GetZoom() override { return CAtlWebBrowser::GetZoom(); }
    CAtlWebBrowser* GetBrowser() override { return this; }

protected:
    void OnTitleChange(const std::wstring& title) override;
};
