#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "controls/FlatButton.h"
#include "controls/PaintingHelpers.h"

namespace {

int TextWidth(HWND window, const wchar_t* text)
{
    const CWindowDc dc(window);
    const CSelectScope font(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    return extent.cx;
}

}  // namespace

TEST(FlatButton, NewCaptionKeepsTheAnchoredEdgeAndTakesTheTextWidth)
{
    CQelVistaFlatButton unborn;
    EXPECT_EQ(20, unborn.GetIdealWidth());

    CRecordingParent container;
    ASSERT_TRUE(container.Create(nullptr, RECT{0, 0, 400, 100}));
    CFontOwner font;
    QelCreateUIFont(font, FALSE, 0, 0);
    CQelVistaFlatButton right, left, plain;
    right.Create(container, RECT{100, 10, 150, 34}, L"Zoom", WS_CHILD | WS_VISIBLE | BS_RIGHT, 0, 1);
    left.Create(container, RECT{100, 40, 150, 64}, L"Zoom", WS_CHILD | WS_VISIBLE | BS_CENTER, 0, 2);
    plain.Create(container, RECT{100, 70, 150, 94}, L"Zoom", WS_CHILD | WS_VISIBLE, 0, 3);
    wchar_t name[64]{};
    ::GetClassNameW(right, name, 64);
    EXPECT_STREQ(L"QelVistaFlatButton", name);

    const wchar_t caption[] = L"A much longer caption";
    for (CQelVistaFlatButton* button : {&right, &left, &plain}) {
        button->SetFont(font);
        button->SetWindowText(caption);
    }
    const int width = TextWidth(right, caption) + 10;
    const RECT r = right.GetRectInParent();
    EXPECT_EQ(150, r.right);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(24, r.bottom - r.top);
    const RECT l = left.GetRectInParent();
    EXPECT_EQ(100, l.left);
    EXPECT_EQ(width, l.right - l.left);
    const RECT p = plain.GetRectInParent();
    EXPECT_EQ(50, p.right - p.left);
    container.DestroyWindow();
}

TEST(FlatButton, FlatUntilTheMouseComesThenTheHotFace)
{
    CRecordingParent container;
    ASSERT_TRUE(container.Create(nullptr, RECT{0, 0, 200, 60}));
    CQelVistaFlatButton button;
    button.Create(container, RECT{10, 10, 110, 34}, L"", WS_CHILD | WS_VISIBLE, 0, 1);
    EXPECT_EQ(RGB(255, 255, 255), CPixelCapture(button).At(50, 0));

    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
    const CPixelCapture hot(button);
    EXPECT_EQ(RGB(217, 217, 217), hot.At(50, 0));
    EXPECT_EQ(RGB(250, 250, 251), hot.At(50, 1));
    container.DestroyWindow();
}
