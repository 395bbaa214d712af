#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/FrameWindow.h"
#include "framework/MessageLoop.h"

namespace {

constexpr UINT kFirst = 100;
constexpr UINT kSecond = 101;
constexpr int kToolBarHeight = 33;

HWND CreateToolBar(HWND parent)
{
    const HWND bar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                       WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0, 0, parent,
                                       nullptr, nullptr, nullptr);
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {{I_IMAGENONE, kFirst, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                           {I_IMAGENONE, kSecond, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0}};
    ::SendMessageW(bar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    return bar;
}

// Like the program's frame: a tool bar it places itself, a status bar that aligns itself.
class CTestFrame : public CFrameWindowObject {
public:
    void UpdateLayout() override
    {
        CWindowRef(m_toolBar).SetWindowPos(nullptr, RECT{0, 0, GetClientRect().right, kToolBarHeight}, SWP_NOZORDER);
        CFrameWindowObject::UpdateLayout();
    }
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message != WM_CREATE)
            return CFrameWindowObject::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
        m_toolBar = CreateToolBar(hwnd);
        m_statusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"Ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                        nullptr, nullptr, nullptr);
        m_client = ::CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd, nullptr,
                                     nullptr, nullptr);
        AddToolBar(m_toolBar);
        result = 0;
        return TRUE;
    }
};

BOOL IsShown(HWND window) { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

TEST(FrameWindow, LaysTheClientBetweenTheBarsHidesACrowdedStatusBarAndQuitsWithOne)
{
    CTestFrame frame;
    ASSERT_TRUE(frame.CreateFrame(RECT{0, 0, 400, 300}));
    EXPECT_EQ(L"Framework Frame", frame.GetWindowText());

    const RECT outer = frame.GetWindowRect();
    const int border = (outer.bottom - outer.top) - frame.GetClientRect().bottom;
    const RECT status = CWindowRef(frame.m_statusBar).GetRectInParent();
    const int statusHeight = status.bottom - status.top;
    // Client heights: roomy, too short for the status bar, roomy again, status bar hidden by its owner.
    for (const int height : {250, kToolBarHeight + statusHeight - 1, 260, 240}) {
        if (height == 240)
            ::ShowWindow(frame.m_statusBar, SW_HIDE);
        ::SetWindowPos(frame, nullptr, 0, 0, 400, height + border, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_EQ(height, frame.GetClientRect().bottom);
        const BOOL roomy = height > 200 && height != 240;
        EXPECT_EQ(roomy, IsShown(frame.m_statusBar)) << height;
        const RECT client = CWindowRef(frame.m_client).GetRectInParent();
        EXPECT_EQ(kToolBarHeight, client.top) << height;
        EXPECT_EQ(roomy ? height - statusHeight : height, client.bottom) << height;
        EXPECT_EQ(frame.GetClientRect().right, client.right - client.left);
        if (roomy) {
            EXPECT_EQ(client.bottom, CWindowRef(frame.m_statusBar).GetRectInParent().top);
        }
    }

    frame.DestroyWindow();
    CUiMessageLoop loop;
    EXPECT_EQ(1, loop.Run());
}

TEST(FrameWindow, CommandStateReachesEveryToolBarOnIdle)
{
    CTestFrame frame;
    ASSERT_TRUE(frame.CreateFrame(RECT{0, 0, 300, 200}));
    CUiMessageLoop loop;
    loop.AddIdleHandler(&frame);
    const auto enabled = [](HWND bar) { return ::SendMessageW(bar, TB_ISBUTTONENABLED, kFirst, 0) != 0; };
    const auto checked = [](HWND bar) { return ::SendMessageW(bar, TB_ISBUTTONCHECKED, kSecond, 0) != 0; };

    frame.EnableCommand(kFirst, FALSE);
    frame.SetCommandCheck(kSecond, TRUE);
    loop.OnIdle();
    EXPECT_FALSE(enabled(frame.m_toolBar));
    EXPECT_TRUE(checked(frame.m_toolBar));

    // A tool bar added after the states were pushed still gets all of them.
    const HWND second = CreateToolBar(frame);
    frame.AddToolBar(second);
    frame.EnableCommand(kFirst, TRUE);
    loop.OnIdle();
    EXPECT_TRUE(enabled(frame.m_toolBar));
    EXPECT_TRUE(enabled(second));
    EXPECT_TRUE(checked(second));

    loop.RemoveIdleHandler(&frame);
    frame.DestroyWindow();
}
