#pragma once
// "Windows": every open page of the tab view in a list, to activate one or close
// several. Modal and resizable down to half its designed size.
//
//   CWindowsDlgPages pages(tabView);
//   CWindowsDlg(pages).DoModal(tabView);
#include <windows.h>

#include <string>

#include "framework/DialogObject.h"
#include "framework/DialogResizer.h"
#include "framework/TabViewWindow.h"

// The pages as the dialog sees them. A tab view whose pages own more than their windows
// (the reader's views) overrides ClosePage to close a page its own way.
class CWindowsDlgPages {
public:
    explicit CWindowsDlgPages(CTabViewWindow& tabView) : m_tabView(tabView) {}
    virtual ~CWindowsDlgPages() = default;

    int GetPageCount() const { return m_tabView.GetPageCount(); }
    std::wstring GetPageTitle(int index) const { return m_tabView.GetPageTitle(index); }
    int GetActivePage() const { return m_tabView.GetActivePage(); }
    void ActivatePage(int index) { m_tabView.SetActivePage(index); }
    virtual void ClosePage(int index) { m_tabView.RemovePage(index); }

protected:
    CTabViewWindow& m_tabView;
};

class CWindowsDlg : public CDialogObject, public CDialogResizer {
public:
    explicit CWindowsDlg(CWindowsDlgPages& pages);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnInitDialog();
    void UpdateButtons();
    void OnActivate();
    void OnCloseWindows();
    LRESULT SendListMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    CWindowsDlgPages& m_pages;
};
