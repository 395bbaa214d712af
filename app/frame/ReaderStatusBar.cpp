#include "app/frame/ReaderStatusBar.h"

#include <string>

#include "app/frame/PopupMenu.h"
#include "foundation/Global.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kIconSize = 16;
constexpr int kSyncPaneWidth = 200;
constexpr int kAdPaneWidth = 400;
constexpr int kZoomPaneWidthWithoutButton = 120;
constexpr int kZoomButtonWidth = 22;

}  // namespace

BOOL CReaderStatusBar::Init()
{
    if (!m_hWnd)
        return FALSE;
    m_images.Attach(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 1, 1));
    const CIconOwner zoomIcon(static_cast<HICON>(
        ::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(IDI_ZOOM), IMAGE_ICON, kIconSize, kIconSize, 0)));
    if (m_images && zoomIcon)
        m_zoomImage = ::ImageList_AddIcon(m_images, zoomIcon);
    if (!CreateZoomButton()) {
        TessaryWriteLog(L"Failed to create zoom toolbar!");
        return FALSE;
    }

    m_adLine.Create(m_hWnd, RECT{}, nullptr, WS_CHILD | WS_VISIBLE, 0, kAdLineId);
    m_syncPane.Create(m_hWnd, RECT{}, nullptr, WS_CHILD | WS_CLIPCHILDREN);
    m_adLine.SetLinkStyle(HLINK_UNDERLINEHOVER);
    m_adLine.SetVisitedColor(m_adLine.GetLinkColor());

    const UINT panes[] = {kDefaultPaneId, kSyncPaneId, kAdPaneId, kZoomPaneId};
    SetPanes(panes, 4);
    SetPaneWidth(kSyncPaneId, kSyncPaneWidth);
    SetPaneWidth(kAdPaneId, kAdPaneWidth);
    RECT button{};
    const BOOL measured = m_zoomToolBar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)) != 0;
    SetPaneWidth(kZoomPaneId, measured ? button.right - button.left + 6 : kZoomPaneWidthWithoutButton);

    SetPaneWindow(kSyncPaneId, m_syncPane);
    SetPaneWindow(kAdPaneId, m_adLine, QelMeasureTextHeight(m_adLine, m_adLine.GetFont()));
    SetPaneWindow(kZoomPaneId, m_zoomToolBar);
    const HFONT barFont = GetFont();
    SendMessage(SB_SETMINHEIGHT,
                QelMeasureTextHeight(m_hWnd, barFont ? barFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) +
                    8);
    UpdateLayout();
    return TRUE;
}

BOOL CReaderStatusBar::CreateZoomButton()
{
    if (!m_zoomToolBar.Create(m_hWnd, RECT{}, nullptr,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_LIST | TBSTYLE_FLAT |
                                  TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE))
        return FALSE;
    m_zoomToolBar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    m_zoomToolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0,
                              m_zoomToolBar.SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_MIXEDBUTTONS |
                                  TBSTYLE_EX_DRAWDDARROWS);
    m_zoomToolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.Get()));
    const std::wstring text = QelTranslateText(L"Zoom");
    TBBUTTON button{};
    button.iBitmap = m_zoomImage;
    button.idCommand = ID_ZOOM;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE | BTNS_DROPDOWN | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(text.c_str());
    return m_zoomToolBar.SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)) != 0;
}

void CReaderStatusBar::OnLayoutChanged()
{
    if (m_zoomToolBar.IsWindow()) {
        const RECT client = m_zoomToolBar.GetClientRect();
        m_zoomToolBar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(kZoomButtonWidth, client.bottom - client.top));
    }
    if (m_adLine.IsWindow())
        m_adLine.Invalidate();
}

void CReaderStatusBar::OnSyncBegin()
{
    ::KillTimer(m_hWnd, kHideSyncTimerId);
    m_syncPane.ShowWindow(SW_SHOW);
    m_syncPane.ShowDetails(TRUE);
}

void CReaderStatusBar::OnSyncEnd()
{
    ::SetTimer(m_hWnd, kHideSyncTimerId, kHideSyncDelay, nullptr);
    m_syncPane.ShowDetails(FALSE);
}

void CReaderStatusBar::SetSyncProgress(int position)
{
    m_syncPane.SetProgress(position);
}

void CReaderStatusBar::SetZoomText(int percent)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    std::wstring text = std::to_wstring(percent) + L"%";
    info.pszText = &text[0];
    m_zoomToolBar.SendMessage(TB_SETBUTTONINFOW, ID_ZOOM, reinterpret_cast<LPARAM>(&info));
}

void CReaderStatusBar::EnableZoom(BOOL enable)
{
    m_zoomToolBar.SendMessage(TB_ENABLEBUTTON, ID_ZOOM, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

void CReaderStatusBar::ShowZoomMenu(const NMTOOLBARW& button) const
{
    // Loaded for each click and freed once tracked.
    CMenuOwner menu;
    const HMENU popup = LoadPopupMenu(menu, IDR_ZOOM_MENU);
    if (!popup)
        return;
    TPMPARAMS exclude{sizeof exclude, button.rcButton};
    ::MapWindowPoints(button.hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&exclude.rcExclude), 2);
    ::TrackPopupMenuEx(popup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, exclude.rcExclude.right, exclude.rcExclude.top,
                       GetParent(), &exclude);
}

BOOL CReaderStatusBar::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                            DWORD mapId)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == CReaderStatusBarSyncPane::kDetailsId || LOWORD(wParam) == ID_ZOOM) {
            ::SendMessageW(GetParent(), WM_COMMAND, LOWORD(wParam), 0);
            result = 0;
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == m_zoomToolBar && header->code == TBN_DROPDOWN) {
            ShowZoomMenu(*reinterpret_cast<const NMTOOLBARW*>(lParam));
            result = TBDDRET_DEFAULT;
            return TRUE;
        }
        break;
    }
    case WM_TIMER:
        if (wParam == kHideSyncTimerId) {
            ::KillTimer(m_hWnd, kHideSyncTimerId);
            m_syncPane.ShowWindow(SW_HIDE);
            result = 0;
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CQelMultiPaneStatusBar::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
