#pragma once
// A page of the reader's tab view: a document view (one document of the library with its
// attachments) or an HTML view (any other address). The tab view owns the pages; each
// page knows its tab view to open links and to retitle its tab.
#include <windows.h>

#include <string>

class CAtlWebBrowser;
class CReaderTabView;

constexpr int kReaderDocumentView = 0;
constexpr int kReaderHtmlView = 1;
// What QueryCommand answers for a command the page takes.
constexpr UINT kReaderCommandEnabled = 4;

class CReaderViewBase {
public:
    explicit CReaderViewBase(CReaderTabView* tabView) : m_tabView(tabView) {}
    CReaderViewBase(const CReaderViewBase&) = delete;
    CReaderViewBase& operator=(const CReaderViewBase&) = delete;
    virtual ~CReaderViewBase() = default;

    virtual int GetViewType() const = 0;
    virtual HWND GetWindow() const = 0;
    virtual std::wstring GetTitle() const = 0;
    virtual UINT QueryCommand(UINT /*id*/) { return 0; }
    virtual void OnCommand(UINT /*id*/) {}
    virtual BOOL CanZoom() { return FALSE; }
    virtual void SetZoom(int /*percent*/) {}
    virtual int GetZoom() { return 100; }
    virtual void LoadSettings() {}
    // The browser whose document takes the print commands; nullptr for none.
    virtual CAtlWebBrowser* GetBrowser() { return nullptr; }

protected:
    CReaderTabView* m_tabView;
};
