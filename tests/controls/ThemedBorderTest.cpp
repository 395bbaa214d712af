#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <vector>

#include "controls/ThemedBorder.h"

namespace {

std::vector<UINT>& BaseMessages()
{
    static std::vector<UINT> messages;
    return messages;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    BaseMessages().push_back(message);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

WNDPROC g_belowLater = nullptr;

// A window that destroys itself while it paints its frame.
LRESULT CALLBACK GoneWhilePaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT && ::GetPropW(window, L"TessaryTest_Go")) {
        ::RemovePropW(window, L"TessaryTest_Go");
        ::DestroyWindow(window);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A later subclass that never unhooks itself.
LRESULT CALLBACK LaterSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(g_belowLater, window, message, wParam, lParam);
}

// A bordered popup of a class of its own whose procedure is proc.
HWND CreateBorderedWindow(WNDPROC proc, const wchar_t* className)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);
    const HWND window = ::CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr,
                                          wc.hInstance, nullptr);
    return window && QelAttachThemedBorder(window) ? window : nullptr;
}

}  // namespace

TEST(ThemedBorder, RichEditTakesTheThemedFrameInPlaceOfItsClientEdge)
{
    ASSERT_TRUE(::LoadLibraryW(L"riched20.dll"));
    const HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                          nullptr);
    const HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, L"text", WS_CHILD | WS_VISIBLE, 10, 10,
                                        200, 100, parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);

    ASSERT_TRUE(QelAttachThemedBorder(edit));
    EXPECT_FALSE(QelAttachThemedBorder(edit));
    EXPECT_EQ(0, ::GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT client{};
    ::GetClientRect(edit, &client);
    EXPECT_EQ(196, client.right);
    EXPECT_EQ(96, client.bottom);
    POINT origin{0, 0};
    ::MapWindowPoints(edit, parent, &origin, 1);
    EXPECT_EQ(12, origin.x);
    EXPECT_EQ(12, origin.y);
    ::DestroyWindow(parent);
}

TEST(ThemedBorder, LaterSubclassThatStaysLeavesEveryMessageToThePreviousProcedure)
{
    const HWND window = CreateBorderedWindow(RecordingProc, L"TessaryTest_BorderBase");
    ASSERT_TRUE(window);
    g_belowLater = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclassProc)));

    BaseMessages().clear();
    ::DestroyWindow(window);
    const auto& seen = BaseMessages();
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), WM_DESTROY));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), WM_NCDESTROY));

    // The object left with the window: a new window of the same handle value is not refused.
    const HWND next = CreateBorderedWindow(RecordingProc, L"TessaryTest_BorderBase");
    EXPECT_TRUE(next);
    ::DestroyWindow(next);
}

TEST(ThemedBorder, WindowDestroyedWhileItsFrameIsHandledLeavesNothingBehind)
{
    const HWND window = CreateBorderedWindow(GoneWhilePaintingProc, L"TessaryTest_BorderGone");
    ASSERT_TRUE(window);

    ::SetPropW(window, L"TessaryTest_Go", reinterpret_cast<HANDLE>(1));
    ::SendMessageW(window, WM_NCPAINT, 1, 0);
    EXPECT_FALSE(::IsWindow(window));

    // The frame's object went with its window: a new window is framed afresh.
    const HWND next = CreateBorderedWindow(GoneWhilePaintingProc, L"TessaryTest_BorderGone");
    EXPECT_TRUE(next);
    ::DestroyWindow(next);
}
