#include <gtest/gtest.h>

#include <windows.h>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "ToolBarTestIds.h"
#include "controls/IconEdit.h"

namespace {

constexpr DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
const RECT kBox{0, 0, 200, 26};

}  // namespace

TEST(IconEdit, EnterPostsOneSearchAndLeavesTheText)
{
    CRecordingParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 240, 60}));
    CQelVistaIconEdit box;
    ASSERT_TRUE(box.Create(parent, kBox, L"", kBoxStyle));
    box.SetWindowText(L"tea");
    PumpWaitingMessages();

    box.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    box.SendMessage(WM_CHAR, L'\r', 1);
    box.SendMessage(WM_CHAR, L'\n', 1);  // Ctrl+Enter
    box.SendMessage(WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpWaitingMessages();
    EXPECT_EQ(1, parent.Count(WM_QEL_SEARCH));
    EXPECT_EQ(L"tea", box.GetWindowText());
    parent.DestroyWindow();
}

TEST(IconEdit, ClearIconEmptiesTheBoxWithOneChange)
{
    CRecordingParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 240, 60}));
    CQelVistaIconEdit box;
    box.SetSearchIcon(IDI_TEST_SEARCH);
    box.SetClearIcon(IDI_TEST_CLEAR);
    ASSERT_TRUE(box.Create(parent, kBox, L"", kBoxStyle));
    box.SetWindowText(L"tea");
    PumpWaitingMessages();
    // Without a history icon the shared place is 20 pixels in from the right edge.
    const POINT place{kBox.right - 12, kBox.bottom / 2};
    EXPECT_EQ(RGB(200, 40, 40), CPixelCapture(box).At(place.x, place.y));

    box.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(place.x, place.y));
    box.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(place.x, place.y));  // empty now: nothing
    PumpWaitingMessages();
    EXPECT_EQ(L"", box.GetWindowText());
    ASSERT_EQ(1, parent.Count(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE)));
    EXPECT_EQ(reinterpret_cast<LPARAM>(box.m_hWnd), parent.received.back().lParam);
    EXPECT_EQ(RGB(40, 90, 200), CPixelCapture(box).At(place.x, place.y));
    parent.DestroyWindow();
}
