#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/dialogs/WindowsDlg.h"
#include "resources/ResourceIds.h"

namespace {

// A tab view with the pages "P0" to "P3", the third one active, and the dialog over it.
class WindowsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_view.Create(nullptr, RECT{0, 0, 600, 400}, nullptr, WS_POPUP));
        for (int i = 0; i < 4; ++i) {
            const HWND page = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 9, 9, m_view, 0, 0, 0);
            ASSERT_TRUE(m_view.AddPage(page, (L"P" + std::to_wstring(i)).c_str()));
        }
        m_view.SetActivePage(2);
        ASSERT_TRUE(m_dialog.Create(m_view));
    }
    void TearDown() override { m_view.DestroyWindow(); }

    HWND Item(int id) const { return m_dialog.GetDlgItem(id); }
    LRESULT List(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(Item(IDC_WINDOWS_LIST), message, wParam, lParam);
    }
    void Command(int id, WORD code) const
    {
        m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    // As a user selects: the list box tells the dialog.
    void Select(std::initializer_list<int> lines) const
    {
        List(LB_SETSEL, FALSE, -1);
        for (const int line : lines)
            List(LB_SETSEL, TRUE, line);
        Command(IDC_WINDOWS_LIST, LBN_SELCHANGE);
    }
    std::vector<int> SelectedLines() const
    {
        std::vector<int> lines(8);
        lines.resize(static_cast<size_t>(List(LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(lines.data()))));
        return lines;
    }
    // The pages' titles, checked against the lines.
    std::vector<std::wstring> Pages() const
    {
        std::vector<std::wstring> titles;
        for (int i = 0; i < m_view.GetPageCount(); ++i) {
            titles.push_back(m_view.GetPageTitle(i));
            wchar_t line[16]{};
            List(LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
            EXPECT_EQ(titles.back(), line);
        }
        EXPECT_EQ(m_view.GetPageCount(), List(LB_GETCOUNT));
        return titles;
    }
    BOOL Enabled(int id) const { return ::IsWindowEnabled(Item(id)); }

    CTabViewWindow m_view;
    CWindowsDlgPages m_pages{m_view};
    CWindowsDlg m_dialog{m_pages};
};

}  // namespace

TEST_F(WindowsDialog, ButtonsFollowTheSelectionAndClosingSelectsTheLineThatTookTheFirstPlace)
{
    EXPECT_EQ((std::vector<std::wstring>{L"P0", L"P1", L"P2", L"P3"}), Pages());
    EXPECT_EQ(std::vector<int>{2}, SelectedLines());
    EXPECT_TRUE(Enabled(IDC_WINDOWS_ACTIVATE) && Enabled(IDC_WINDOWS_CLOSE));
    Select({});
    EXPECT_FALSE(Enabled(IDC_WINDOWS_ACTIVATE) || Enabled(IDC_WINDOWS_CLOSE));
    Select({1, 3});
    EXPECT_FALSE(Enabled(IDC_WINDOWS_ACTIVATE));
    EXPECT_TRUE(Enabled(IDC_WINDOWS_CLOSE));

    Command(IDC_WINDOWS_CLOSE, BN_CLICKED);
    EXPECT_EQ((std::vector<std::wstring>{L"P0", L"P2"}), Pages());
    EXPECT_EQ(std::vector<int>{1}, SelectedLines());
    EXPECT_TRUE(::IsWindow(m_dialog));
    // Closing the last lines leaves none selected, and no button to press.
    Command(IDC_WINDOWS_CLOSE, BN_CLICKED);
    EXPECT_EQ(std::vector<std::wstring>{L"P0"}, Pages());
    EXPECT_TRUE(SelectedLines().empty());
    EXPECT_FALSE(Enabled(IDC_WINDOWS_ACTIVATE) || Enabled(IDC_WINDOWS_CLOSE));

    // The dialog may shrink to half its designed size.
    RECT designed{};
    ::GetWindowRect(m_dialog, &designed);
    MINMAXINFO limits{};
    m_dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ((designed.right - designed.left) / 2, limits.ptMinTrackSize.x);
    EXPECT_EQ((designed.bottom - designed.top) / 2, limits.ptMinTrackSize.y);
}

TEST_F(WindowsDialog, ActivatingOrDoubleClickingALineActivatesItsPageAndEndsTheDialog)
{
    Select({});
    Command(IDC_WINDOWS_ACTIVATE, BN_CLICKED);
    EXPECT_TRUE(::IsWindow(m_dialog));
    EXPECT_EQ(2, m_view.GetActivePage());
    Select({1});
    Command(IDC_WINDOWS_ACTIVATE, BN_CLICKED);
    EXPECT_EQ(1, m_view.GetActivePage());
    EXPECT_FALSE(::IsWindow(m_dialog));

    ASSERT_TRUE(m_dialog.Create(m_view));
    Select({3});
    Command(IDC_WINDOWS_LIST, LBN_DBLCLK);
    EXPECT_EQ(3, m_view.GetActivePage());
    EXPECT_FALSE(::IsWindow(m_dialog));
}
