#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "controls/PaintingHelpers.h"
#include "controls/TabControl.h"

TEST(TabControl, CurrentTabStandsTwoPixelsAboveItsNeighbours)
{
    CRecordingParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 340, 60}));
    CQelVistaTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(parent, RECT{0, 0, 300, 40}));
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(face, CPixelCapture(tabs).At(150, 20));  // no tabs: only the face

    for (const wchar_t* text : {L"One", L"Two", L"Three"}) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(text);
        tabs.SendMessage(TCM_INSERTITEMW, 3, reinterpret_cast<LPARAM>(&tab));
    }
    tabs.SendMessage(TCM_SETCURSEL, 1);
    RECT first{}, current{};
    ASSERT_TRUE(tabs.SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
    ASSERT_TRUE(tabs.SendMessage(TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&current)));
    ASSERT_GE(current.top, 2);

    const CPixelCapture picture(tabs);
    const COLORREF currentEdge = QelLightenColor(QelLightenColor(face, 1.4f), 1.5f);
    const COLORREF otherEdge = QelLightenColor(QelDarkenColor(face, 0.99f), 1.5f);
    EXPECT_EQ(currentEdge, picture.At((current.left + current.right) / 2, current.top - 2));
    EXPECT_EQ(face, picture.At((first.left + first.right) / 2, first.top - 2));
    EXPECT_EQ(otherEdge, picture.At((first.left + first.right) / 2, first.top));
    // Its dark right edge, from the lighter base of the current tab.
    EXPECT_EQ(QelDarkenColor(QelLightenColor(face, 1.4f), 0.75f), picture.At(current.right - 1, current.top + 4));
    parent.DestroyWindow();
}
