#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <map>

#include "FrameworkDialogs.h"
#include "framework/DialogObject.h"
#include "framework/DialogResizer.h"

namespace {

const std::vector<CResizeRule> kRules{
    {IDC_FIXED_LABEL, 0},
    {IDC_WIDE_EDIT, kResizeSizeX},
    {IDC_GROWING_LIST, kResizeSizeX | kResizeSizeY},
    {IDC_BOTTOM_EDIT, kResizeMoveY | kResizeSizeX},
    {IDC_CORNER_BUTTON, kResizeMoveX | kResizeMoveY},
};

class CResizeDialog : public CDialogObject, public CDialogResizer {
public:
    CResizeDialog() : CDialogObject(IDD_RESIZE_TEST) {}

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD) override
    {
        if (message == WM_INITDIALOG) {
            InitResizing(hwnd, kRules, TRUE);
            result = FALSE;  // the dialog stays hidden and unfocused
            return TRUE;
        }
        return ProcessResizing(hwnd, message, wParam, lParam, result);
    }
};

RECT RectOf(HWND dialog, int id) { return CWindowRef(::GetDlgItem(dialog, id)).GetRectInParent(); }

}  // namespace

TEST(DialogResizer, MovesAndSizesEachControlByTheWholeSizeChangeWithinChangeableLimits)
{
    CResizeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    std::map<int, RECT> initial;
    for (const CResizeRule& rule : kRules)
        initial[rule.id] = RectOf(dialog, rule.id);
    const RECT start = dialog.GetWindowRect();
    const SIZE startSize{start.right - start.left, start.bottom - start.top};

    MINMAXINFO limits{};
    limits.ptMaxTrackSize = POINT{5000, 4000};
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(startSize.cx, limits.ptMinTrackSize.x);
    EXPECT_EQ(startSize.cy, limits.ptMinTrackSize.y);
    // Halved at run time, so that the sizes below may go under the template's; the
    // height keeps the system's upper limit.
    dialog.SetMinTrackSize(SIZE{startSize.cx / 2, startSize.cy / 2});
    dialog.SetMaxTrackSize(SIZE{startSize.cx + 200, 0});
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(startSize.cy / 2, limits.ptMinTrackSize.y);
    EXPECT_EQ(startSize.cx + 200, limits.ptMaxTrackSize.x);
    EXPECT_EQ(4000, limits.ptMaxTrackSize.y);

    // Each size is measured from the template's, so no rounding builds up between steps.
    for (const SIZE change : {SIZE{90, 70}, SIZE{-30, -20}, SIZE{35, 25}}) {
        ::SetWindowPos(dialog, nullptr, 0, 0, startSize.cx + change.cx, startSize.cy + change.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (const CResizeRule& rule : kRules) {
            RECT expected = initial[rule.id];
            ::OffsetRect(&expected, rule.flags & kResizeMoveX ? change.cx : 0, rule.flags & kResizeMoveY ? change.cy : 0);
            expected.right += rule.flags & kResizeSizeX ? change.cx : 0;
            expected.bottom += rule.flags & kResizeSizeY ? change.cy : 0;
            const RECT now = RectOf(dialog, rule.id);
            EXPECT_TRUE(::EqualRect(&expected, &now)) << "control " << rule.id << " after " << change.cx;
        }
        const RECT client = dialog.GetClientRect();
        const RECT grip = CWindowRef(::FindWindowExW(dialog, nullptr, L"ScrollBar", nullptr)).GetRectInParent();
        EXPECT_EQ(client.right, grip.right);
        EXPECT_EQ(client.bottom, grip.bottom);
    }

    ASSERT_TRUE(dialog.CenterWindow(::GetDesktopWindow()));
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT placed = dialog.GetWindowRect();
    EXPECT_LE(std::abs((placed.left - work.left) - (work.right - placed.right)), 1);
    EXPECT_LE(std::abs((placed.top - work.top) - (work.bottom - placed.bottom)), 1);
    dialog.DestroyWindow();
}
