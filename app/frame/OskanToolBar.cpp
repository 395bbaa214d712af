#include "app/frame/OskanToolBar.h"

#include <string>

#include "foundation/Folders.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "librarydata/ServiceHosts.h"

namespace {

constexpr int kHorizontalPadding = 30;
constexpr int kButtonWidth = 10;
constexpr int kBandHeight = 33;

}  // namespace

COskanADBrowser::COskanADBrowser()
{
    m_noContextMenu = 1;
    m_no3DBorder = TRUE;
    m_noScrollBars = TRUE;
    m_scriptOnlyWhenActive = TRUE;
    m_dialog = TRUE;
    m_openNewWindow = TRUE;
}

BOOL COskanADBrowser::OnBeforeNavigate2(IDispatch*, const std::wstring& url, DWORD, const std::wstring&,
                                        const std::vector<BYTE>&, const std::wstring&)
{
    ++m_navigations;
    m_lastUrl = url;
    return FALSE;
}

std::wstring COskanToolBar::AdUrl()
{
    const std::wstring screen = std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) + L"X" +
                                std::to_wstring(::GetSystemMetrics(SM_CYSCREEN));
    const std::wstring program = QelExtractFileTitle(QelGetExePath().c_str());
    return std::wstring(L"http://") + TESSARY_AD_HOST + L"/?n=qrdv1&p=tv&m=mark&" +
           QelFormatString2(L"s=%1&m=%2", screen.c_str(), program.c_str());
}

BOOL COskanToolBar::Create(HWND parent)
{
    if (!CQelVistaToolBarCtrl::Create(parent, RECT{}, nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_LIST |
                                          TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                                          CCS_NORESIZE))
        return FALSE;
    SendMessage(TB_SETEXTENDEDSTYLE, 0,
                SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_DRAWDDARROWS);
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    const auto padding = static_cast<DWORD>(SendMessage(TB_GETPADDING));
    SendMessage(TB_SETPADDING, 0, MAKELPARAM(kHorizontalPadding, HIWORD(padding)));
    if (m_adBrowser.Create(m_hWnd))
        m_adBrowser.ShowWindow(SW_HIDE);
    ::SetTimer(m_hWnd, kAdTimerId, kAdDelay, nullptr);
    PositionAdBrowser();
    return TRUE;
}

void COskanToolBar::UpdateButtonSize()
{
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, GetTextBandHeight(kBandHeight)));
}

void COskanToolBar::PositionAdBrowser()
{
    if (!m_adBrowser.IsWindow() || !(m_adBrowser.GetStyle() & WS_VISIBLE)) {
        SetGlowEdge(-1);
        return;
    }
    const RECT client = GetClientRect();
    const int left = client.right - kAdWidth - 1;
    m_adBrowser.SetWindowPos(nullptr, RECT{left, client.top + 1, left + kAdWidth, client.top + 1 + kAdHeight},
                             SWP_NOZORDER | SWP_NOACTIVATE);
}

void COskanToolBar::ShowAd()
{
    ::KillTimer(m_hWnd, kAdTimerId);
    // Opened once: the strip is not refreshed for the rest of the run.
    if (!m_adBrowser.IsWindow() || (m_adBrowser.GetStyle() & WS_VISIBLE))
        return;
    m_adBrowser.ShowWindow(SW_SHOW);
    m_adBrowser.Navigate(AdUrl().c_str());
    PositionAdBrowser();
}

BOOL COskanToolBar::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                         DWORD mapId)
{
    switch (message) {
    case WM_SIZE:
        if (!CQelVistaToolBarCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId))
            result = DefWindowProc(message, wParam, lParam);
        PositionAdBrowser();
        return TRUE;
    case WM_TIMER:
        if (wParam == kAdTimerId) {
            ShowAd();
            result = 0;
            return TRUE;
        }
        break;
    case WM_DESTROY:
        ::KillTimer(hwnd, kAdTimerId);
        break;
    default:
        break;
    }
    return CQelVistaToolBarCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
