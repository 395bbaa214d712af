#pragma once
// Pages of child windows behind a strip of tabs; one page shows at a time. The
// strip appears with the first page; a new page becomes active, a removed one is
// destroyed. The parent hears of every change of the active page as WM_NOTIFY with
// kTabViewPageActivated. A title-bar window, when given, shows its own title + " - " +
// the active page's title.
//
//   view.Create(parent, rect);
//   view.AddPage(page, L"Title", -1, data);  // page: a child of the view
//
// An owner lays out the strip and the page itself by overriding UpdateLayout, and
// answers right clicks and double clicks on tabs through the hooks. Dragging a tab
// onto another moves its page there; Esc or losing the capture cancels the drag.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/WindowObject.h"

constexpr UINT kTabViewPageActivated = 0U - 1900U;

class CTabViewWindow : public CWindowObject {
public:
    ~CTabViewWindow() override;

    BOOL AddPage(HWND window, const wchar_t* title, int image = -1, void* data = nullptr);
    void RemovePage(int index);
    void RemoveAllPages();

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    int GetActivePage() const { return PageIndexFromWindow(m_activeWindow); }
    void SetActivePage(int index)
    {
        if (IsValid(index))
            Activate(index);
    }
    HWND GetPageWindow(int index) const { return IsValid(index) ? Page(index).window : nullptr; }
    std::wstring GetPageTitle(int index) const { return IsValid(index) ? Page(index).title : std::wstring(); }
    void SetPageTitle(int index, const wchar_t* title);
    void* GetPageData(int index) const { return IsValid(index) ? Page(index).data : nullptr; }
    int PageIndexFromWindow(HWND window) const;  // -1 when no page has the window

    HWND GetTabStrip() const { return m_strip; }
    // The window whose caption follows the active page; its text now is its own title.
    void SetTitleBarWindow(HWND window)
    {
        m_titleBar = window;
        m_titleBarText = CWindowRef(window).GetWindowText();
        UpdateTitleBar();
    }
    BOOL IsTabDragging() const { return m_dragging; }

    virtual void UpdateLayout();
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    // index is -1 when no tab is under the point (screen coordinates).
    virtual void OnTabContextMenu(int /*index*/, POINT /*screenPoint*/) {}
    virtual void OnTabDoubleClick(int /*index*/) {}
    // Runs when another page (or none, -1) became active, before the parent is told.
    virtual void OnPageActivated(int /*index*/) {}
    int GetStripHeight() const;  // for one row of tabs

private:
    struct CPage {
        HWND window = nullptr;
        std::wstring title;
        int image = -1;
        void* data = nullptr;
    };

    static LRESULT CALLBACK StripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);
    BOOL OnStripMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int TabAt(POINT stripPoint) const;
    BOOL PutTab(int index, BOOL insert);
    void Activate(int index);
    void MovePage(int from, int to);
    void UpdateTitleBar();
    BOOL IsValid(int index) const { return index >= 0 && index < GetPageCount(); }
    const CPage& Page(int index) const { return m_pages[static_cast<size_t>(index)]; }
    CPage& Page(int index) { return m_pages[static_cast<size_t>(index)]; }

    std::vector<CPage> m_pages;
    CWindowRef m_strip;
    HWND m_activeWindow = nullptr;
    HWND m_titleBar = nullptr;
    std::wstring m_titleBarText;
    int m_dragIndex = -1;  // the tab under the left button
    RECT m_dragStart{};  // the mouse leaving it starts the drag
    BOOL m_dragging = FALSE;
};
