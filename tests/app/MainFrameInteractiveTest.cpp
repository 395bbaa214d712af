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

// A frame whose active page can zoom.
class CZoomingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    int zoom = 100;

protected:
    BOOL CanZoomActivePage() override { return TRUE; }
    int GetActivePageZoom() override { return zoom; }
    void SetActivePageZoom(int percent) override { zoom = percent; }
};

// Chooses the first item of each menu that drops down on this thread.
class CMenuChoice {
public:
    CMenuChoice() { m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId()); }
    ~CMenuChoice() { ::UnhookWindowsHookEx(m_hook); }
    CMenuChoice(const CMenuChoice&) = delete;
    CMenuChoice& operator=(const CMenuChoice&) = delete;

    // The last pop-up menu that dropped down.
    static inline HMENU shown = nullptr;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            shown = reinterpret_cast<HMENU>(message->wParam);
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
using MainFrameZoomInteractive = FrameFixtureT<CZoomingFrame>;

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

TEST_F(MainFrameZoomInteractive, TheZoomDropDownsCommandReachesTheFrameAndItsMenuIsFreed)
{
    ::SetForegroundWindow(*frame);
    const CMenuChoice choice;
    CMenuChoice::shown = nullptr;
    const auto* bar = dynamic_cast<CReaderStatusBar*>(CWindowObject::FromHandle(frame->m_statusBar));
    ASSERT_TRUE(bar);
    const HWND zoom = bar->GetZoomToolBar();
    NMTOOLBARW dropDown{};
    dropDown.hdr = NMHDR{zoom, static_cast<UINT_PTR>(::GetDlgCtrlID(zoom)), static_cast<UINT>(TBN_DROPDOWN)};
    dropDown.iItem = ID_ZOOM;
    ::SendMessageW(zoom, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&dropDown.rcButton));
    ::SendMessageW(*bar, WM_NOTIFY, dropDown.hdr.idFrom, reinterpret_cast<LPARAM>(&dropDown));
    DrainQuit();
    EXPECT_EQ(110, frame->zoom);  // "Zoom In", the first item
    ASSERT_TRUE(CMenuChoice::shown);
    EXPECT_FALSE(::IsMenu(CMenuChoice::shown));
}
