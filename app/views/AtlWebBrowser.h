#pragma once
// A hosted WebBrowser as its users see it: the host flags they choose, its events as
// virtual operations, and navigation, the page's commands (print, page setup) and zoom.
// CAtlBrowser (AtlBrowser.h) is the window that hosts the control and ties it here.
#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "framework/DispatchEventSink.h"

class CAtlWebBrowser : public CDispatchEventSink {
public:
    // DOCHOSTUIFLAG_THEME and the flags of the members set below.
    virtual DWORD GetHostFlags() const;

    // E_FAIL without a control; E_OUTOFMEMORY when the post data cannot be copied.
    HRESULT Navigate(const wchar_t* url, DWORD flags = 0, const wchar_t* targetFrame = nullptr,
                     const void* postData = nullptr, DWORD postLength = 0, const wchar_t* headers = nullptr);
    // The page's document, empty when there is none.
    virtual Microsoft::WRL::ComPtr<IDispatch> GetDocument() const;
    // A command of the document's command target: E_FAIL without a document,
    // E_NOINTERFACE when it has no command target.
    HRESULT ExecCommand(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) const;
    HRESULT ExecMshtmlCommand(DWORD id, DWORD option, VARIANT* in, VARIANT* out) const;
    // The command's OLECMDF_* flags; 0 on any failure.
    DWORD QueryMshtmlCommandStatus(DWORD id) const;
    // E_FAIL unless the command's status holds every required flag.
    HRESULT ExecMshtmlCommandIfEnabled(DWORD id, DWORD requiredFlags, DWORD option) const;
    HRESULT SetZoom(int percent) const;
    // 100 when the page reports no zoom.
    int GetZoom() const;

    IWebBrowser2* GetWebBrowser() const { return m_webBrowser.Get(); }
    BOOL CanGoBack() const { return m_canGoBack; }
    BOOL CanGoForward() const { return m_canGoForward; }

protected:
    CAtlWebBrowser() = default;

    // The control's events; the BOOL results cancel.
    virtual void OnSetSecureLockIcon(LONG) {}
    virtual BOOL OnNavigateError(IDispatch*, const std::wstring&, const std::wstring&, LONG) { return FALSE; }
    virtual void OnPrivacyImpactedStateChange(BOOL) {}
    virtual void OnStatusTextChange(const std::wstring&) {}
    virtual void OnProgressChange(LONG, LONG) {}
    virtual void OnCommandStateChange(LONG command, BOOL enabled);
    virtual void OnDownloadBegin() {}
    virtual void OnDownloadComplete() {}
    virtual void OnTitleChange(const std::wstring&) {}
    virtual void OnNavigateComplete2(IDispatch*, const std::wstring&) {}
    virtual BOOL OnBeforeNavigate2(IDispatch* /*frame*/, const std::wstring& /*url*/, DWORD /*flags*/,
                                   const std::wstring& /*targetFrame*/, const std::vector<BYTE>& /*postData*/,
                                   const std::wstring& /*headers*/)
    {
        return FALSE;
    }
    virtual void OnPropertyChange(const std::wstring&) {}
    // A window the page opens; a dispatch set here becomes the new window.
    virtual BOOL OnNewWindow2(Microsoft::WRL::ComPtr<IDispatch>&) { return FALSE; }
    virtual void OnDocumentComplete(IDispatch*, const std::wstring&) {}
    virtual void OnQuit() {}
    virtual void OnVisible(BOOL) {}
    virtual void OnToolBar(BOOL) {}
    virtual void OnMenuBar(BOOL) {}
    virtual void OnStatusBar(BOOL) {}
    virtual void OnFullScreen(BOOL) {}
    virtual void OnTheaterMode(BOOL) {}

    // Takes the control's IWebBrowser2 and advises the events; FALSE keeps nothing.
    BOOL AttachWebBrowser(IUnknown* control);
    void DetachWebBrowser();

    void OnDispatchEvent(DISPID id, DISPPARAMS& params) override;

    // The users' choices, set in their constructors.
    int m_noContextMenu = 0;  // above 0: the page shows no context menu
    BOOL m_no3DBorder = FALSE;
    BOOL m_noScrollBars = FALSE;
    BOOL m_scriptOnlyWhenActive = TRUE;
    BOOL m_dialog = FALSE;
    BOOL m_openNewWindow = FALSE;

private:
    Microsoft::WRL::ComPtr<IWebBrowser2> m_webBrowser;
    BOOL m_canGoBack = FALSE;
    BOOL m_canGoForward = FALSE;
};
