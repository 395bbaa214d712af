#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "ContextMenuProbe.h"
#include "RecordingParent.h"
#include "controls/TreeCtrl.h"

namespace {

// Picks "Open" and notes the items the command applies to.
class CMenuTree : public CContextMenuProbe<CQelVistaTreeCtrl> {
public:
    HTREEITEM prepared = nullptr;
    HTREEITEM commanded = nullptr;
    BOOL deleteCommanded = FALSE;
    HTREEITEM commandedAfterDelete = nullptr;

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == kProbeOpenCommand) {
            commanded = GetCommandItem();
            if (deleteCommanded) {
                SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(commanded));
                commandedAfterDelete = GetCommandItem();
            }
        }
        return CContextMenuProbe::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }

protected:
    void PrepareContextMenu(HTREEITEM item, HMENU) override { prepared = item; }
    void OnMenuShown(HWND popup) override
    {
        ::PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    }
};

RECT LabelRect(HWND tree, HTREEITEM item)
{
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

}  // namespace

TEST(TreeCtrlInteractive, MenusOpenAtTheSelectionFromTheKeyboardAndActOnTheRightClickedItem)
{
    CRecordingParent container(0);
    ASSERT_TRUE(container.Create(nullptr, RECT{300, 200, 520, 420}));
    CMenuTree tree;
    ASSERT_TRUE(tree.Create(container, RECT{0, 0, 200, 180}, nullptr, WS_CHILD | WS_VISIBLE, 0, 7));
    const HTREEITEM first = tree.InsertItem(TVI_ROOT, L"one", 0);
    const HTREEITEM second = tree.InsertItem(TVI_ROOT, L"two", 0);
    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(second));
    ::SetForegroundWindow(container);
    ::SetFocus(tree);

    tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.m_hWnd), -1);
    RECT label = LabelRect(tree, second);
    ::MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&label), 2);
    EXPECT_EQ(label.left, tree.menuRect.left);
    EXPECT_EQ(label.bottom, tree.menuRect.top);
    EXPECT_EQ(nullptr, tree.prepared);
    EXPECT_EQ(second, tree.commanded);

    RECT other = LabelRect(tree, first);
    ::MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&other), 2);
    tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.m_hWnd),
                     MAKELPARAM(other.left + 2, other.top + 2));
    EXPECT_EQ(first, tree.prepared);
    EXPECT_EQ(first, tree.commanded);
    EXPECT_EQ(second, tree.GetCommandItem());  // the right-clicked item is forgotten after the command

    // A command that deletes the right-clicked item leaves the selection to what follows.
    tree.deleteCommanded = TRUE;
    tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.m_hWnd),
                     MAKELPARAM(other.left + 2, other.top + 2));
    EXPECT_EQ(first, tree.commanded);
    EXPECT_EQ(second, tree.commandedAfterDelete);
    container.DestroyWindow();
}
