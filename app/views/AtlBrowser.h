#pragma once
// The child window that hosts a WebBrowser for the reader's pages: it creates the
// control by its ProgID with the reader's host site, gives it the host flags its
// user chose, and ties its events to CAtlWebBrowser's operations.
//
//   class CPage : public CAtlBrowser { CPage() { m_no3DBorder = TRUE; } BOOL OnBeforeNavigate2(...) override; };
//   page.Create(parent, L"oskan://...");
#include <windows.h>

#include "app/views/AtlWebBrowser.h"
#include "framework/ActiveXHost.h"

class CAtlBrowser : public CActiveXHostWindow, public CAtlWebBrowser {
public:
    // nullptr when the WebBrowser cannot be had; a null or empty URL navigates nowhere yet.
    HWND Create(HWND parent, const wchar_t* url = nullptr);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    Microsoft::WRL::ComPtr<CActiveXSite> CreateSite() override;
};
