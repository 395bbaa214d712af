#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogAnswer.h"
#include "app/dialogs/AboutDlg.h"
#include "foundation/Files.h"
#include "resources/ResourceIds.h"

namespace {

// An about box whose text area is given a longer text before the box measures it.
class LongTextAboutDlg : public CAboutDlg {
public:
    using CAboutDlg::CAboutDlg;
    std::wstring text;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_INITDIALOG)
            ::SetDlgItemTextW(hwnd, IDC_ABOUT_TEXT, text.c_str());
        return CAboutDlg::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

SIZE WindowSize(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// What the box's bitmap static shows.
HGDIOBJ BannerBitmap(HWND dialog)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return reinterpret_cast<HGDIOBJ>(::SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    return nullptr;
}

RECT ItemRect(HWND dialog, int id)
{
    return CWindowRef(::GetDlgItem(dialog, id)).GetRectInParent();
}

}  // namespace

TEST(AboutVersion, TheDigitsCountInThousandths)
{
    EXPECT_EQ(L"1.23", AboutVersionNumber(L"1.2.3.4"));
    EXPECT_EQ(L"0.95", AboutVersionNumber(L"0.9.5.0"));
    EXPECT_EQ(L"0.00", AboutVersionNumber(L""));
}

TEST(AboutDialog, TitleFromTheFileVersionAndLinksToTheMakersSite)
{
    // The test program carries no version.
    CAboutDlg plain(L"Tessary");
    ASSERT_TRUE(plain.Create(nullptr));
    EXPECT_EQ(L"Tessary 0.00 (beta)", plain.GetDlgItemText(IDC_ABOUT_TITLE));
    EXPECT_EQ(L"Merrowen () beta", plain.GetDlgItemText(IDC_ABOUT_SECOND_TITLE));
    EXPECT_EQ(L"http://www.telvane.example/", plain.GetHomeLink().GetTarget());
    EXPECT_EQ(L"http://www.telvane.example/", plain.GetHomeLink().GetWindowText());
    EXPECT_EQ(L"http://www.telvane.example/", plain.GetMakerLink().GetTarget());
    EXPECT_EQ(L"www.telvane.example", plain.GetMakerLink().GetWindowText());
    EXPECT_EQ(plain.GetHomeLink().GetLinkColor(), plain.GetHomeLink().GetVisitedColor());
    EXPECT_FALSE(plain.GetDlgItemText(IDC_ABOUT_TEXT).empty());
    plain.DestroyWindow();

    wchar_t system[MAX_PATH]{};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring module = std::wstring(system) + L"\\comctl32.dll";
    const std::wstring version = QelGetFileVersionString(module.c_str());
    ASSERT_FALSE(version.empty());
    CAboutDlg versioned(L"Tessary", module.c_str());
    ASSERT_TRUE(versioned.Create(nullptr));
    EXPECT_EQ(L"Tessary " + AboutVersionNumber(version) + L" (beta)", versioned.GetDlgItemText(IDC_ABOUT_TITLE));
    EXPECT_EQ(L"Merrowen (" + version + L") beta", versioned.GetDlgItemText(IDC_ABOUT_SECOND_TITLE));
    versioned.DestroyWindow();

    // Each box takes its banner with it: many boxes leave no bitmap behind.
    std::vector<HGDIOBJ> banners;
    {
        const CDialogAnswer answer([&banners](HWND dialog) {
            banners.push_back(BannerBitmap(dialog));
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        for (int box = 0; box < 55; ++box)
            EXPECT_EQ(IDOK, CAboutDlg(L"Tessary").DoModal(nullptr));
    }
    ASSERT_EQ(55u, banners.size());
    EXPECT_EQ(0, std::count(banners.begin(), banners.end(), nullptr));
    EXPECT_EQ(0, std::count_if(banners.begin(), banners.end(),
                               [](HGDIOBJ banner) { return ::GetObjectType(banner) == OBJ_BITMAP; }));
}

TEST(AboutDialog, OnlyItsHeightChangesAndALongerTextMakesItTaller)
{
    CAboutDlg dialog(L"Tessary");
    ASSERT_TRUE(dialog.Create(nullptr));
    const SIZE initial = WindowSize(dialog);
    MINMAXINFO limits{};
    limits.ptMaxTrackSize = POINT{5000, 5000};  // the system's limits, as it fills them in
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(initial.cx, limits.ptMinTrackSize.x);
    EXPECT_EQ(initial.cy, limits.ptMinTrackSize.y);
    EXPECT_EQ(initial.cx, limits.ptMaxTrackSize.x);
    EXPECT_EQ(5000, limits.ptMaxTrackSize.y);

    // A taller box stretches the text and moves the bottom row.
    const RECT text = ItemRect(dialog, IDC_ABOUT_TEXT);
    const RECT ok = ItemRect(dialog, IDOK);
    ::SetWindowPos(dialog, nullptr, 0, 0, initial.cx, initial.cy + 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(text.bottom + 50, ItemRect(dialog, IDC_ABOUT_TEXT).bottom);
    EXPECT_EQ(ok.top + 50, ItemRect(dialog, IDOK).top);
    EXPECT_EQ(ok.left, ItemRect(dialog, IDOK).left);
    dialog.DestroyWindow();

    LongTextAboutDlg longer(L"Tessary");
    for (int line = 0; line < 12; ++line)
        longer.text += L"A line about the program that takes the whole width of the text area and more. ";
    ASSERT_TRUE(longer.Create(nullptr));
    const SIZE grown = WindowSize(longer);
    EXPECT_EQ(initial.cx, grown.cx);
    EXPECT_GT(grown.cy, initial.cy + 40);
    const int growth = grown.cy - initial.cy;
    EXPECT_EQ(text.bottom + growth, ItemRect(longer, IDC_ABOUT_TEXT).bottom);
    longer.DestroyWindow();
}
