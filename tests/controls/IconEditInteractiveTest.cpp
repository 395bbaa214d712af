#include <gtest/gtest.h>

#include <windows.h>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "controls/IconEdit.h"
#include "controls/ToolBar.h"

namespace {

constexpr DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;

BOOL IsUnderlined(HFONT font)
{
    LOGFONTW logFont{};
    return ::GetObjectW(font, sizeof logFont, &logFont) && logFont.lfUnderline;
}

}  // namespace

TEST(IconEditInteractive, PromptComesAndGoesWithTheFocusWithoutAChangeAndOnlyItIsUnderlined)
{
    CRecordingParent parent(WS_EX_TOPMOST);
    ASSERT_TRUE(parent.Create(nullptr, RECT{10, 10, 250, 90}));
    CQelVistaIconEdit box;
    box.SetPrompt(L"Search");
    ASSERT_TRUE(box.Create(parent, RECT{0, 0, 200, 26}, L"", kBoxStyle));
    const HWND other = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 40, 100, 20, parent, nullptr,
                                         nullptr, nullptr);
    ::SetForegroundWindow(parent);
    ::SetFocus(other);
    PumpWaitingMessages();
    EXPECT_EQ(L"Search", box.GetWindowText());
    EXPECT_TRUE(box.IsPromptShown());
    EXPECT_TRUE(IsUnderlined(box.GetFont()));
    // The frame lies 4 pixels above the text, which is centred in the box.
    const int frameTop = (26 - (QelMeasureTextHeight(box, box.GetFont()) + 4)) / 2 - 4;
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), CPixelCapture(box).At(100, frameTop));

    ::SetFocus(box);
    ASSERT_EQ(box.m_hWnd, ::GetFocus());
    EXPECT_EQ(L"", box.GetWindowText());
    EXPECT_FALSE(IsUnderlined(box.GetFont()));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), CPixelCapture(box).At(100, frameTop));

    ::SetFocus(other);
    PumpWaitingMessages();
    EXPECT_EQ(L"Search", box.GetWindowText());
    EXPECT_TRUE(IsUnderlined(box.GetFont()));
    EXPECT_EQ(0, parent.Count(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE)));

    // Typed over the shown prompt, the text is the user's: the font follows every change.
    box.SendMessage(WM_CHAR, L's', 1);
    EXPECT_NE(L"Search", box.GetWindowText());
    EXPECT_FALSE(IsUnderlined(box.GetFont()));
    // A box without a prompt, as the reader's search box, has none to show when empty.
    CQelVistaIconEdit plain;
    ASSERT_TRUE(plain.Create(parent, RECT{110, 40, 230, 66}, L"", kBoxStyle));
    PumpWaitingMessages();
    EXPECT_FALSE(IsUnderlined(plain.GetFont()));
    parent.DestroyWindow();
}
