#include "app/dialogs/AboutDlg.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "app/dialogs/MakerWebSite.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/MessageFormat.h"
#include "foundation/Translations.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kIconSize = 48;
constexpr int kTextHeightLimit = 100000;
constexpr wchar_t kMakerAddress[] = L"www.telvane.example";

// The banner: the template's one bitmap static, which has no id of its own.
HWND FindBanner(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16]{};
        ::GetClassNameW(child, className, 16);
        if (_wcsicmp(className, L"Static") == 0 && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return child;
    }
    return nullptr;
}

// The static loaded the banner from the template. Wine's static never deletes a bitmap, so
// each box left one behind; Windows' deletes the one it loaded itself, possibly already when
// it is replaced. Taking it back and deleting it only while it is still a bitmap frees it
// once on both.
void DeleteBanner(HWND dialog)
{
    const HWND banner = FindBanner(dialog);
    if (!banner)
        return;
    const auto bitmap = reinterpret_cast<HGDIOBJ>(::SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (bitmap && ::GetObjectType(bitmap) == OBJ_BITMAP)
        ::DeleteObject(bitmap);
}

}  // namespace

std::wstring AboutVersionNumber(const std::wstring& fileVersion)
{
    std::wstring digits;
    std::remove_copy(fileVersion.begin(), fileVersion.end(), std::back_inserter(digits), L'.');
    digits.erase(0, digits.find_first_not_of(L'0'));
    const long long number = std::wcstoll(digits.c_str(), nullptr, 10);
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%.2f", static_cast<double>(number) / 1000.0);
    return text;
}

CAboutDlg::CAboutDlg(const wchar_t* productName, const wchar_t* modulePath)
    : CDialogObject(IDD_ABOUT),
      m_productName(productName ? productName : L""),
      m_fileVersion(QelGetFileVersionString(modulePath ? modulePath : QelGetExePath().c_str())),
      m_secondTitle(QelFormatString1(L"Merrowen (%1) beta", m_fileVersion.c_str()))
{
}

BOOL CAboutDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                     DWORD mapId)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return TRUE;
    case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(m_whiteBrush);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(StaticBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        return TRUE;
    case WM_DESTROY:
        DeleteBanner(hwnd);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(LOWORD(wParam));
            result = 0;
            return TRUE;
        }
        break;
    default:
        break;
    }
    if (ProcessResizing(hwnd, message, wParam, lParam, result))
        return TRUE;
    return CDialogObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}

void CAboutDlg::OnInitDialog()
{
    QelTranslateWindow(m_hWnd);
    CenterWindow(::GetDesktopWindow());
    m_icon.Attach(static_cast<HICON>(
        ::LoadImageW(FrameworkInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, kIconSize, kIconSize, 0)));
    ::SendDlgItemMessageW(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.Get()), 0);

    SetDlgItemText(IDC_ABOUT_TITLE,
                   QelFormatString2(L"%1 %2 (beta)", m_productName.c_str(), AboutVersionNumber(m_fileVersion).c_str())
                       .c_str());
    SetDlgItemText(IDC_ABOUT_SECOND_TITLE, m_secondTitle.c_str());
    SetUpLink(m_homeLink, IDC_ABOUT_HOME_LINK, kMakerWebSite, kMakerWebSite);
    SetUpLink(m_makerLink, IDC_ABOUT_MAKER_LINK, kMakerAddress, kMakerWebSite);

    InitResizing(m_hWnd,
                 {{IDC_ABOUT_TEXT, kResizeSizeY},
                  {IDC_ABOUT_COPYRIGHT, kResizeMoveY},
                  {IDC_ABOUT_MAKER_LINK, kResizeMoveY},
                  {IDC_ABOUT_YEARS, kResizeMoveY},
                  {IDOK, kResizeMoveY}},
                 FALSE);
    // Only the height may change: the widest is the narrowest.
    SetMaxTrackSize(SIZE{GetMinTrackSize().cx, 0});
    FitText();
}

void CAboutDlg::SetUpLink(CHyperlink& link, int id, const wchar_t* label, const wchar_t* target)
{
    link.SubclassWindow(GetDlgItem(id));
    link.SetWindowText(QelTranslateText(label).c_str());
    link.SetTarget(target);
    link.SetLinkStyle(HLINK_NOTUNDERLINED);
    link.SetVisitedColor(link.GetLinkColor());
}

void CAboutDlg::FitText()
{
    const CWindowRef text(GetDlgItem(IDC_ABOUT_TEXT));
    const RECT area = text.GetClientRect();
    const std::wstring lines = text.GetWindowText();
    RECT needed{0, 0, area.right, kTextHeightLimit};
    {
        const CWindowDc dc(text);
        const CSelectScope font(dc, text.GetFont());
        ::DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &needed, DT_CALCRECT | DT_WORDBREAK);
    }
    const int missing = (needed.bottom - needed.top) - area.bottom;
    if (missing <= 0)
        return;
    const RECT window = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + missing,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow(::GetDesktopWindow());
}

HBRUSH CAboutDlg::StaticBrush(HWND control, HDC dc) const
{
    switch (::GetDlgCtrlID(control)) {
    case IDC_ABOUT_ICON:
    case IDC_ABOUT_HOME_LINK:
    case IDC_ABOUT_MAKER_LINK:
    case IDC_ABOUT_TEXT:
    case IDC_ABOUT_COPYRIGHT:
    case IDC_ABOUT_YEARS:
        return m_whiteBrush;
    default:
        // The title lines stand on the banner.
        ::SetBkMode(dc, TRANSPARENT);
        return m_hollowBrush;
    }
}
