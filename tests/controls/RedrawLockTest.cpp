#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/RedrawLock.h"

namespace {

std::vector<WPARAM>& RedrawSwitches()
{
    static std::vector<WPARAM> switches;
    return switches;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETREDRAW)
        RedrawSwitches().push_back(wParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(RedrawLock, EachGuardSwitchesOnceAndGuardsAreNotCounted)
{
    { CQelRedrawLock none(nullptr); }  // nothing to send to

    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TessaryTest_Redraw";
    ::RegisterClassW(&wc);
    const HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr,
                                          nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    ::ValidateRect(window, nullptr);
    auto& switches = RedrawSwitches();
    switches.clear();
    {
        CQelRedrawLock outer(window);
        EXPECT_FALSE(outer.Lock());
        EXPECT_EQ((std::vector<WPARAM>{FALSE}), switches);
        { CQelRedrawLock inner(window); }
        EXPECT_EQ((std::vector<WPARAM>{FALSE, FALSE, TRUE}), switches);
        ::ValidateRect(window, nullptr);
        outer.Unlock();
        RECT update{};
        EXPECT_TRUE(::GetUpdateRect(window, &update, FALSE));
        EXPECT_EQ(80, update.right);
        EXPECT_EQ(40, update.bottom);
    }
    EXPECT_EQ((std::vector<WPARAM>{FALSE, FALSE, TRUE, TRUE}), switches);
    ::DestroyWindow(window);
}
