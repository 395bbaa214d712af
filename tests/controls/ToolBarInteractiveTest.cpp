#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "ToolBarTestIds.h"
#include "controls/ToolBar.h"

namespace {

// Looks at itself and at its menu while the drop-down menu is up, then chooses the
// menu's one command with the keyboard.
class CWatchedToolBar : public CQelVistaToolBarCtrl {
public:
    HMENU popup = nullptr;
    COLORREF arrowPart = CLR_INVALID;
    COLORREF leftPart = CLR_INVALID;
    POINT arrowPoint{};
    POINT leftPoint{};

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_INITMENUPOPUP && !popup) {
            popup = reinterpret_cast<HMENU>(wParam);
            const CPixelCapture picture(hwnd);
            arrowPart = picture.At(arrowPoint.x, arrowPoint.y);
            leftPart = picture.At(leftPoint.x, leftPoint.y);
            PostMessage(WM_KEYDOWN, VK_DOWN);
            PostMessage(WM_KEYDOWN, VK_RETURN);
        }
        return CQelVistaToolBarCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

}  // namespace

TEST(ToolBarInteractive, DropDownMenuSendsItsCommandAndIsDestroyed)
{
    CRecordingParent parent(WS_EX_TOPMOST);
    ASSERT_TRUE(parent.Create(nullptr, RECT{10, 10, 250, 90}));
    CWatchedToolBar bar;
    ASSERT_TRUE(bar.Create(parent, RECT{0, 0, 200, 50}, nullptr,
                           WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN));
    bar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    ASSERT_TRUE(bar.AddToolButton(IDR_TEST_TOOL_MENU, BTNS_DROPDOWN, TRUE, -1));
    RECT item{};
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
    bar.arrowPoint = POINT{item.right - 8, item.bottom - 4};
    bar.leftPoint = POINT{item.left + 5, item.bottom - 4};

    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right - 5, (item.top + item.bottom) / 2));
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(item.right - 5, (item.top + item.bottom) / 2));
    PumpWaitingMessages();

    ASSERT_TRUE(bar.popup);
    EXPECT_FALSE(::IsMenu(bar.popup));
    EXPECT_EQ(1, parent.Count(WM_COMMAND, ID_TEST_TOOL_SYNC));
    // While the menu was up, and only then: the pressed face on the arrow part, the hot face beside it.
    EXPECT_EQ(RGB(221, 221, 221), bar.arrowPart);
    EXPECT_NE(RGB(221, 221, 221), bar.leftPart);
    EXPECT_NE(RGB(221, 221, 221), CPixelCapture(bar).At(bar.arrowPoint.x, bar.arrowPoint.y));
    parent.DestroyWindow();
}
