#include "app/frame/ReaderStatusBarSyncPane.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/PaintingHelpers.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kIconLeft = 2;
constexpr int kIconSize = 16;
constexpr int kProgressHeight = 12;

int Centred(const RECT& client, int height)
{
    return client.top + (client.bottom - client.top - height) / 2;
}

}  // namespace

void CReaderStatusBarSyncPane::OnCreate()
{
    m_iconImage.Attach(static_cast<HICON>(
        ::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(IDI_SYNC), IMAGE_ICON, kIconSize, kIconSize, 0)));
    m_icon = CWindowRef(::CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0,
                                          0, kIconSize, kIconSize, m_hWnd, nullptr, FrameworkInstance(), nullptr));
    m_icon.SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(m_iconImage.Get()));

    m_details.Create(m_hWnd, RECT{}, QelTranslateStringResource(IDS_SYNC_DETAILS).c_str(), WS_CHILD | WS_VISIBLE, 0,
                     kDetailsId);
    m_details.SetLinkStyle(HLINK_COMMANDBUTTON);
    if (QelCreateUIFont(m_linkFont, FALSE, 0, 0))
        m_details.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), FALSE);

    m_progress = CWindowRef(::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0,
                                              0, 0, m_hWnd, nullptr, FrameworkInstance(), nullptr));
    m_progress.SendMessage(PBM_SETRANGE32, 0, 100);
}

void CReaderStatusBarSyncPane::Layout()
{
    const RECT client = GetClientRect();
    m_icon.SetWindowPos(nullptr, RECT{kIconLeft, Centred(client, kIconSize), kIconLeft + kIconSize,
                                      Centred(client, kIconSize) + kIconSize},
                        SWP_NOZORDER | SWP_NOACTIVATE);
    SIZE link{};
    m_details.GetIdealSize(link);
    link.cx += 2;
    link.cy += 2;
    const int progressLeft = kIconLeft + kIconSize + 4;
    const int progressRight = std::max<int>(progressLeft, client.right - link.cx - 8);
    const int progressTop = Centred(client, kProgressHeight);
    m_progress.SetWindowPos(nullptr, RECT{progressLeft, progressTop, progressRight, progressTop + kProgressHeight},
                            SWP_NOZORDER | SWP_NOACTIVATE);
    const int linkLeft = progressRight + 4;
    m_details.SetWindowPos(nullptr, RECT{linkLeft, Centred(client, link.cy), linkLeft + link.cx,
                                         Centred(client, link.cy) + link.cy},
                           SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CReaderStatusBarSyncPane::ShowDetails(BOOL show)
{
    m_details.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CReaderStatusBarSyncPane::IsDetailsVisible() const
{
    // Its own flag: the pane itself may be hidden.
    return m_details.IsWindow() && (m_details.GetStyle() & WS_VISIBLE) != 0;
}

void CReaderStatusBarSyncPane::SetProgress(int position)
{
    m_progress.SendMessage(PBM_SETPOS, position);
}

int CReaderStatusBarSyncPane::GetProgress() const
{
    return static_cast<int>(m_progress.SendMessage(PBM_GETPOS));
}

void CReaderStatusBarSyncPane::DoPaint(HDC dc)
{
    const RECT client = GetClientRect();
    ::FillRect(dc, &client, m_background);
}

BOOL CReaderStatusBarSyncPane::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT& result, DWORD mapId)
{
    if (ProcessDoubleBuffer(hwnd, message, wParam, lParam, result))
        return TRUE;
    switch (message) {
    case WM_CREATE:
        OnCreate();
        result = 0;
        return TRUE;
    case WM_SIZE:
        Layout();
        result = 0;
        return TRUE;
    case WM_CTLCOLORSTATIC:
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = reinterpret_cast<LRESULT>(m_background);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kDetailsId) {
            ::SendMessageW(GetParent(), WM_COMMAND, kDetailsId, 0);
            result = 0;
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
