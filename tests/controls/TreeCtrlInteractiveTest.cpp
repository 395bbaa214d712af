#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "controls/TreeCtrl.h"

namespace {

class CContainer : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_POPUP | WS_VISIBLE; }
};

// Notes where its menu opened, picks "Open" and notes the items the command applies to.
class CMenuTree : public CQelVistaTreeCtrl {
public:
    CMenuOwner menu;
    RECT menuRect{};
    HTREEITEM prepared = nullptr;
    HTREEITEM commanded = nullptr;

    HMENU GetContextMenu() override
    {
        if (!menu) {
            menu.Attach(::CreatePopupMenu());
            ::AppendMenuW(menu, MF_STRING, 100, L"Open");
        }
        return menu;
    }
    void PrepareContextMenu(HTREEITEM item, HMENU) override { prepared = item; }
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            ::GetWindowRect(reinterpret_cast<HWND>(lParam), &menuRect);
            ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_RETURN, 0);
        }
        if (message == WM_COMMAND && LOWORD(wParam) == 100)
            commanded = GetCommandItem();
        return CQelVistaTreeCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
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
    CContainer container;
    ASSERT_TRUE(container.Create(nullptr, RECT{300, 200, 520, 420}));
    CMenuTree tree;
    ASSERT_TRUE(tree.Create(container, RECT{0, 0, 200, 180}, nullptr, WS_CHILD | WS_VISIBLE, 0, 7));
    const HTREEITEM first = tree.InsertItem(TVI_ROOT, L"one", 0);
    const HTREEITEM second = tree.InsertItem(TVI_ROOT, L"two", 0);
    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(second));
    ::SetForegroundWindow(container);
    tree.SetFocus();

    tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.GetHwnd()), -1);
    RECT label = LabelRect(tree, second);
    tree.ClientToScreen(label);
    EXPECT_EQ(label.left, tree.menuRect.left);
    EXPECT_EQ(label.bottom, tree.menuRect.top);
    EXPECT_EQ(nullptr, tree.prepared);
    EXPECT_EQ(second, tree.commanded);

    RECT other = LabelRect(tree, first);
    tree.ClientToScreen(other);
    tree.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.GetHwnd()),
                     MAKELPARAM(other.left + 2, other.top + 2));
    EXPECT_EQ(first, tree.prepared);
    EXPECT_EQ(first, tree.commanded);
    EXPECT_EQ(second, tree.GetCommandItem());  // the right-clicked item is forgotten after the command
    container.DestroyWindow();
}
