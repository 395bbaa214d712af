#include <gtest/gtest.h>

#include <windows.h>

#include "PixelCapture.h"
#include "controls/PaintingHelpers.h"

namespace {

const COLORREF kFill = RGB(255, 255, 255);
const RECT kRow{0, 0, 120, 20};

// The top row, the next and the one after it at mid-width, where the frames and the
// gradient's first line lie.
struct CRowTop {
    COLORREF outer, inner, gradient;
};

CRowTop PaintRow(HWND window, UINT flags)
{
    CPixelCapture picture(120, 20, RGB(1, 2, 3));
    QelDrawStateBackground(window, picture.Dc(), kRow, flags, kFill);
    return CRowTop{picture.At(60, 0), picture.At(60, 1), picture.At(60, 2)};
}

}  // namespace

TEST(PaintingHelpers, StateBackgroundShowsTheHighestStateOnly)
{
    // A desktop that never holds the focus: the selected look of a control without it.
    const HWND unfocused = ::GetDesktopWindow();
    const CRowTop selected = PaintRow(unfocused, QelStateSelected | QelStateHot | QelStateFocused);
    EXPECT_EQ(RGB(217, 217, 217), selected.outer);
    EXPECT_EQ(RGB(250, 250, 251), selected.inner);
    EXPECT_EQ(RGB(248, 248, 248), selected.gradient);

    const CRowTop hot = PaintRow(unfocused, QelStateHot | QelStateFocused);
    EXPECT_EQ(RGB(182, 214, 251), hot.outer);
    EXPECT_EQ(RGB(242, 247, 254), hot.inner);
    EXPECT_EQ(RGB(250, 251, 253), hot.gradient);

    const CRowTop focused = PaintRow(unfocused, QelStateFocused);
    EXPECT_EQ(RGB(132, 172, 221), focused.outer);
    EXPECT_EQ(RGB(241, 247, 254), focused.inner);
    EXPECT_EQ(kFill, focused.gradient);

    const CRowTop plain = PaintRow(unfocused, 0);
    EXPECT_EQ(kFill, plain.outer);
    EXPECT_EQ(kFill, plain.gradient);
}

TEST(PaintingHelpers, ColourScalersClampTheirFactorsAndChannels)
{
    EXPECT_EQ(RGB(200, 100, 250), QelLightenColor(RGB(200, 100, 250), 0.5f));
    EXPECT_EQ(RGB(220, 110, 255), QelLightenColor(RGB(200, 100, 250), 1.1f));
    EXPECT_EQ(RGB(200, 101, 3), QelDarkenColor(RGB(200, 101, 3), 2.0f));
    EXPECT_EQ(RGB(100, 51, 2), QelDarkenColor(RGB(200, 101, 3), 0.5f));  // rounded, not truncated
}

TEST(PaintingHelpers, GrooveLineShadesAVerticalLineMostAtItsMiddle)
{
    CPixelCapture picture(4, 20, RGB(200, 200, 200));
    QelDrawDarkGrooveLine(picture.Dc(), POINT{1, 0}, POINT{2, 20});  // not vertical: nothing
    QelDrawDarkGrooveLine(picture.Dc(), POINT{1, 5}, POINT{1, 6});   // one pixel high: nothing
    EXPECT_EQ(RGB(200, 200, 200), picture.At(1, 5));

    QelDrawDarkGrooveLine(picture.Dc(), POINT{1, 0}, POINT{1, 20});
    EXPECT_EQ(RGB(196, 196, 196), picture.At(1, 0));
    EXPECT_EQ(picture.At(1, 0), picture.At(1, 19));
    EXPECT_LT(GetRValue(picture.At(1, 9)), 185);
    EXPECT_EQ(picture.At(1, 9), picture.At(1, 10));
    EXPECT_EQ(RGB(200, 200, 200), picture.At(2, 9));
}
