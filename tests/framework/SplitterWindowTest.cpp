#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "PrintedClient.h"
#include "SplitterFixture.h"

namespace {

using Span = std::pair<LONG, LONG>;

COLORREF BarPixel(const CSplitFixture& f, int distance)
{
    const CPrintedClient printed(f.splitter);
    return f.vertical ? printed.Pixel(distance, 50) : printed.Pixel(50, distance);
}

}  // namespace

TEST(SplitterWindow, PositionStaysBetweenTheMinimumPaneSizesAndPlacesPanesAndBar)
{
    for (const bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        CSplitFixture f(vertical, 406);

        f.splitter.SetSplitterPos(100);
        EXPECT_EQ(Span(0, 100), f.Span(0));
        EXPECT_EQ(Span(106, 406), f.Span(1));
        EXPECT_EQ(kBarColour, BarPixel(f, 103));
        EXPECT_NE(kBarColour, BarPixel(f, 99));

        f.splitter.SetSplitterPos(10);
        EXPECT_EQ(50, f.splitter.GetSplitterPos());
        f.splitter.SetSplitterPos(1000);
        EXPECT_EQ(350, f.splitter.GetSplitterPos());
        f.splitter.SetSplitterPos(-1);
        EXPECT_EQ(200, f.splitter.GetSplitterPos());

        // Without relayout the panes wait for the next one.
        f.splitter.SetSplitterPos(120, FALSE);
        EXPECT_EQ(120, f.splitter.GetSplitterPos());
        EXPECT_EQ(Span(0, 200), f.Span(0));
        f.splitter.UpdateSplitterLayout();
        EXPECT_EQ(Span(0, 120), f.Span(0));
    }
}

TEST(SplitterWindow, SinglePaneModeGivesOnePaneTheWholeWindowAndBothComeBack)
{
    CSplitFixture f(true, 406);
    f.splitter.SetSplitterPos(100);
    f.splitter.SetSinglePaneMode(SPLIT_PANE_RIGHT);
    EXPECT_EQ(Span(0, 406), f.Span(1));
    EXPECT_FALSE(::GetWindowLongPtrW(f.panes[0], GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(kBarColour, BarPixel(f, 103));

    f.splitter.SetSplitterPos(150);  // remembered for when both panes come back
    f.splitter.SetSinglePaneMode(SPLIT_PANE_NONE);
    EXPECT_TRUE(::GetWindowLongPtrW(f.panes[0], GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Span(0, 150), f.Span(0));
    EXPECT_EQ(Span(156, 406), f.Span(1));
}

TEST(SplitterWindow, ResizingKeepsTheShareTheFarDistanceOrTheNearDistanceWithoutDrift)
{
    struct Case {
        DWORD style;
        int pos, grownPos, shrunkPos;  // at room 400, 800 and 200
    };
    for (const Case c : {Case{SPLIT_PROPORTIONAL, 100, 200, 50}, Case{SPLIT_BOTTOMALIGNED, 300, 700, 100},
                         Case{0, 300, 300, 150}}) {
        SCOPED_TRACE(c.style);
        CSplitFixture f(false, 406);
        f.splitter.SetSplitterExtendedStyle(c.style);
        f.splitter.SetSplitterPos(c.pos);
        f.Resize(806);
        EXPECT_EQ(c.grownPos, f.splitter.GetSplitterPos());
        EXPECT_EQ(Span(0, c.grownPos), f.Span(0));
        f.Resize(206);
        EXPECT_EQ(c.shrunkPos, f.splitter.GetSplitterPos());
        f.Resize(406);  // a bar squeezed by the limits comes back where it was set
        EXPECT_EQ(c.pos, f.splitter.GetSplitterPos());
    }
}
