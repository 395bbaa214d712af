#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "ToolBarTestIds.h"
#include "controls/ToolBar.h"

namespace {

constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN;

// The digits the long test string repeats after its line feed.
std::wstring Digits(size_t count)
{
    std::wstring digits;
    for (size_t i = 0; i < count; ++i)
        digits += static_cast<wchar_t>(L'0' + i % 10);
    return digits;
}

std::wstring ButtonText(HWND bar, UINT command)
{
    std::wstring text(2048, L'\0');
    const auto length = ::SendMessageW(bar, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

class ToolBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 240, 60}));
        ASSERT_TRUE(bar.Create(parent, RECT{0, 0, 200, 30}, nullptr, kBarStyle));
    }
    void TearDown() override { parent.DestroyWindow(); }

    CRecordingParent parent;
    CQelVistaToolBarCtrl bar;
};

}  // namespace

TEST_F(ToolBar, BackgroundEndsInThreeGreyRows)
{
    EXPECT_EQ(22, bar.GetBarHeight());  // no buttons yet

    const CPixelCapture picture(bar);
    EXPECT_EQ(RGB(255, 255, 255), picture.At(100, 0));
    EXPECT_EQ(RGB(239, 239, 239), picture.At(100, 27));
    EXPECT_EQ(RGB(219, 219, 219), picture.At(100, 28));
    EXPECT_EQ(RGB(177, 177, 177), picture.At(100, 29));
}

TEST_F(ToolBar, TextsAndToolTipsAreCutToTheirBuffersAfterTheLineFeed)
{
    ASSERT_TRUE(bar.AddToolButton(IDS_TEST_TOOL_LONG, BTNS_BUTTON, TRUE, -1));
    ASSERT_TRUE(bar.AddToolButton(IDS_TEST_TOOL_UPDATE, BTNS_BUTTON, TRUE, -1));

    // The long text ends within its buffer, so it adds one string and no more.
    EXPECT_EQ(Digits(1022), ButtonText(bar, IDS_TEST_TOOL_LONG));
    EXPECT_EQ(L"Update the books", ButtonText(bar, IDS_TEST_TOOL_UPDATE));
    TBBUTTON second{};
    ASSERT_TRUE(bar.SendMessage(TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second)));
    EXPECT_EQ(1, second.iString);
    EXPECT_EQ(BTNS_AUTOSIZE | BTNS_SHOWTEXT, second.fsStyle);

    // The tool tip asks the toolbar, its parent, under its own name.
    const auto tooltip = reinterpret_cast<HWND>(bar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_TRUE(tooltip);
    NMTTDISPINFOW wide{};
    wide.hdr = NMHDR{tooltip, IDS_TEST_TOOL_LONG, TTN_GETDISPINFOW};
    std::memset(wide.szText, 0x55, sizeof wide.szText);
    bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(Digits(79), std::wstring(wide.szText, wcsnlen(wide.szText, 80)));

    NMTTDISPINFOA ansi{};
    ansi.hdr = NMHDR{tooltip, IDS_TEST_TOOL_LONG, TTN_GETDISPINFOA};
    std::memset(ansi.szText, 0x55, sizeof ansi.szText);
    bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
    EXPECT_EQ(79u, strnlen(ansi.szText, 80));

    wide.hdr.idFrom = IDS_TEST_TOOL_UPDATE;
    bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    EXPECT_STREQ(L"Update the books", wide.lpszText);
}

TEST_F(ToolBar, CommandsGoOnToTheParent)
{
    bar.SendMessage(WM_COMMAND, ID_TEST_TOOL_SYNC);
    EXPECT_EQ(1, parent.Count(WM_COMMAND, ID_TEST_TOOL_SYNC));
}
