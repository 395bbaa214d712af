#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "FrameFixture.h"
#include "resources/ResourceIds.h"

namespace {

// Counts the drop-down menus' commands instead of opening their dialogs.
class CCountingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    int newAccount = 0;
    int about = 0;

protected:
    void OnNewAccount() override { ++newAccount; }
    void OnAbout() override { ++about; }
};

// Chooses the first item of each menu that drops down on this thread.
class CMenuChoice {
public:
    CMenuChoice() { m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()); }
    ~CMenuChoice() { ::UnhookWindowsHookEx(m_hook); }
    CMenuChoice(const CMenuChoice&) = delete;
    CMenuChoice& operator=(const CMenuChoice&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            ::PostMessageW(message->hwnd, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(message->hwnd, WM_KEYDOWN, VK_RETURN, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook = nullptr;
};

void ClickButton(HWND toolBar, UINT command)
{
    RECT button{};
    const auto index = ::SendMessageW(toolBar, TB_COMMANDTOINDEX, command, 0);
    ASSERT_TRUE(::SendMessageW(toolBar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    const LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(toolBar, WM_LBUTTONUP, 0, point);
}

}  // namespace

using MainFrameInteractive = FrameFixtureT<CCountingFrame>;

TEST_F(MainFrameInteractive, TheToolBarsMenusReachTheFrame)
{
    ::SetForegroundWindow(*frame);
    const CMenuChoice choice;
    ClickButton(frame->m_toolBar, ID_TOOLS);
    DrainQuit();
    EXPECT_EQ(1, frame->newAccount);
    ClickButton(frame->m_toolBar, ID_HELP);
    DrainQuit();
    EXPECT_EQ(1, frame->about);
}
