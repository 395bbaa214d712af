#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/FlatButton.h"

namespace {

// Records the commands its children send it.
class CCommandRecorder : public CWindowObject {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    DWORD DefaultStyle() const override { return WS_POPUP | WS_VISIBLE; }
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (message != WM_COMMAND)
            return FALSE;
        commands.emplace_back(wParam, lParam);
        result = 0;
        return TRUE;
    }
};

}  // namespace

TEST(FlatButtonInteractive, ClickCountsOnlyWhenReleasedOverTheButton)
{
    CCommandRecorder parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{50, 50, 250, 150}));
    CQelVistaFlatButton button;
    ASSERT_TRUE(button.Create(parent, RECT{10, 10, 110, 34}, L"Go", WS_CHILD | WS_VISIBLE, 0, 42));
    const LPARAM inside = MAKELPARAM(20, 10);
    const LPARAM outside = MAKELPARAM(static_cast<WORD>(-30), 10);

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(button.GetHwnd(), ::GetCapture());
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, outside);
    button.SendMessage(WM_LBUTTONUP, 0, outside);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(nullptr, ::GetCapture());

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ(MAKEWPARAM(42, BN_CLICKED), parent.commands[0].first);
    EXPECT_EQ(reinterpret_cast<LPARAM>(button.GetHwnd()), parent.commands[0].second);

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, outside);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, inside);
    button.SendMessage(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(2u, parent.commands.size());

    button.SetFocus();
    button.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    button.SendMessage(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(2u, parent.commands.size());
    EXPECT_EQ(nullptr, ::GetCapture());
    parent.DestroyWindow();
}
