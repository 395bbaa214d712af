#pragma once
// "About": the program's icon, its name with the version number taken from the program
// file's version, links to the maker's web site and a few lines about the program. Only
// its height may be changed; it grows at once when the lines need more room.
//
//   CAboutDlg(L"Tessary").DoModal(::GetActiveWindow());
#include <string>

#include "framework/DialogObject.h"
#include "framework/DialogResizer.h"
#include "framework/GdiOwners.h"
#include "framework/Hyperlink.h"

// "1.2.3.4" gives "1.23": the digits read as one number in thousandths; "" gives "0.00".
std::wstring AboutVersionNumber(const std::wstring& fileVersion);

class CAboutDlg : public CDialogObject, public CDialogResizer {
public:
    // The version is the one of the module at modulePath; the program's own without one.
    explicit CAboutDlg(const wchar_t* productName, const wchar_t* modulePath = nullptr);

    const CHyperlink& GetHomeLink() const { return m_homeLink; }
    const CHyperlink& GetMakerLink() const { return m_makerLink; }

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

private:
    void OnInitDialog();
    void SetUpLink(CHyperlink& link, int id, const wchar_t* label, const wchar_t* target);
    // Grows the dialog by what the text area lacks for its text.
    void FitText();
    HBRUSH StaticBrush(HWND control, HDC dc) const;

    HBRUSH m_hollowBrush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    HBRUSH m_whiteBrush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    CIconOwner m_icon;
    CHyperlink m_homeLink;
    CHyperlink m_makerLink;
    std::wstring m_productName;
    std::wstring m_fileVersion;
    std::wstring m_secondTitle;
};
