#include <gtest/gtest.h>

#include <windows.h>

#include "PixelCapture.h"
#include "controls/PaintingHelpers.h"

TEST(PaintingHelpersInteractive, SelectedLookIsBlueWhileTheControlHasTheFocus)
{
    const HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 10, 10,
                                          60, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    ASSERT_EQ(window, ::GetFocus());

    CPixelCapture picture(120, 20);
    QelDrawStateBackground(window, picture.Dc(), RECT{0, 0, 120, 20}, QelStateSelected | QelStateHot,
                           RGB(255, 255, 255));
    EXPECT_EQ(RGB(132, 172, 221), picture.At(60, 0));
    EXPECT_EQ(RGB(241, 247, 254), picture.At(60, 1));
    EXPECT_EQ(RGB(235, 244, 254), picture.At(60, 2));
    ::DestroyWindow(window);
}
