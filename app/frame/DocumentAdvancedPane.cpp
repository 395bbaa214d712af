#include "app/frame/DocumentAdvancedPane.h"

#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kSearchDelay = 1000;
// Rows of the area: the box, then the buttons, which move down by one row while the
// "Options" button shows below the box.
constexpr int kBoxBottom = 36;
constexpr int kButtonTop = 44;
constexpr int kButtonBottom = 68;
constexpr int kOptionsShift = 30;

}  // namespace

CWindowClassInfo& CDocumentAdvancedPane::GetWindowClassInfo()
{
    static CWindowClassInfo info = ClassNamed(L"Tessary_DocumentAdvancedPane");
    return info;
}

std::wstring CDocumentAdvancedPane::GetSearchText() const
{
    if (!m_searchBox.IsWindow() || m_searchBox.IsTextThePrompt())
        return std::wstring();
    std::wstring text = m_searchBox.GetWindowText();
    if (text.find_first_not_of(L" \t\r\n") == std::wstring::npos)
        text.clear();
    return text;
}

void CDocumentAdvancedPane::SetSearchText(const std::wstring& text)
{
    m_searchBox.SetWindowText(text.c_str());
    // A multi-line edit reports no change of its text from the program.
    OnSearchTextChanged();
}

void CDocumentAdvancedPane::ResetSearch()
{
    m_searchBox.SetWindowText(L"");
    ::SendMessageW(GetParent(), WM_QEL_UPDATELAYOUT, 0, 0);
    m_lastText.clear();
}

void CDocumentAdvancedPane::SetControlsFont(HFONT font)
{
    m_searchBox.SetFont(font);
    m_optionsButton.SetFont(font);
    m_sortButton.SetFont(font);
    m_orderButton.SetFont(font);
}

void CDocumentAdvancedPane::OnCreate()
{
    RECT boxRect = GetClientRect();
    boxRect.bottom = 40;
    ::InflateRect(&boxRect, -4, -4);
    m_searchBox.SetSearchIcon(IDI_SEARCH);
    m_searchBox.SetClearIcon(IDI_CLEAR_SEARCH);
    m_searchBox.SetHistoryIcon(IDI_SEARCH_HISTORY);
    m_searchBox.Create(m_hWnd, boxRect, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN);
    m_optionsButton = ::CreateWindowExW(0, L"BUTTON", QelTranslateStringResource(IDS_OPTIONS).c_str(),
                                        WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kOptionsButtonId)),
                                        FrameworkInstance(), nullptr);
    ::SetTimer(m_hWnd, kSearchTimer, 100, nullptr);
    m_sortButton.Create(m_hWnd, RECT{}, L"", WS_CHILD | WS_VISIBLE | BS_LEFT, 0, kSortButtonId);
    m_orderButton.Create(m_hWnd, RECT{}, L"", WS_CHILD | WS_VISIBLE | BS_RIGHT, 0, kOrderButtonId);
}

void CDocumentAdvancedPane::Layout()
{
    const RECT client = GetClientRect();
    const int shift = HasSearchText() ? kOptionsShift : 0;
    m_searchBox.MoveWindow(RECT{client.left + 4, client.top + 4, client.right - 4, kBoxBottom});
    if (shift) {
        m_optionsButton.MoveWindow(RECT{4, 44, 104, 69});
        m_optionsButton.ShowWindow(SW_SHOW);
    } else {
        m_optionsButton.ShowWindow(SW_HIDE);
    }
    const int sortWidth = m_sortButton.GetIdealWidth();
    m_sortButton.MoveWindow(RECT{4, kButtonTop + shift, 4 + sortWidth, kButtonBottom + shift});
    const int orderWidth = m_orderButton.GetIdealWidth();
    m_orderButton.MoveWindow(
        RECT{client.right - 4 - orderWidth, kButtonTop + shift, client.right - 4, kButtonBottom + shift});
    Invalidate(FALSE);
}

void CDocumentAdvancedPane::OnSearchTextChanged()
{
    const std::wstring text = GetSearchText();
    if (text.empty() != m_lastText.empty()) {
        ::SendMessageW(GetParent(), WM_QEL_UPDATELAYOUT, 0, 0);
        m_lastText = text;
    }
    m_lastEdit = m_ticks();
    m_searchPending = TRUE;
}

void CDocumentAdvancedPane::OnSearchTimer()
{
    if (m_searchPending && m_ticks() - m_lastEdit > static_cast<DWORD>(kSearchDelay))
        SendSearch();
}

void CDocumentAdvancedPane::SendSearch()
{
    m_searchPending = FALSE;
    ::SendMessageW(GetParent(), WM_QEL_SEARCH, 0, 0);
}

BOOL CDocumentAdvancedPane::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT& result, DWORD mapId)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        result = 0;
        return TRUE;
    case WM_DESTROY:
        ::KillTimer(m_hWnd, kSearchTimer);
        break;
    case WM_SIZE:
        Layout();
        result = 0;
        return TRUE;
    case WM_TIMER:
        if (wParam != kSearchTimer)
            break;
        OnSearchTimer();
        result = 0;
        return TRUE;
    case WM_QEL_SEARCH:
        // Enter in the box: no wait, and no second search when the wait would have ended.
        SendSearch();
        result = 0;
        return TRUE;
    case WM_QEL_SHOWSEARCHHISTORY:
        result = ::SendMessageW(GetParent(), message, 0, 0);
        return TRUE;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == m_searchBox.m_hWnd && HIWORD(wParam) == EN_CHANGE) {
            OnSearchTextChanged();
            result = 0;
            return TRUE;
        }
        if (LOWORD(wParam) >= kOptionsButtonId && LOWORD(wParam) <= kOrderButtonId && lParam != 0) {
            result = ::SendMessageW(GetParent(), message, wParam, reinterpret_cast<LPARAM>(m_hWnd));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CFilledPane::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
