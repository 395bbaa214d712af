#include <gtest/gtest.h>

#include <windows.h>

#include "controls/ListBox.h"

namespace {

class CContainer : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_POPUP | WS_VISIBLE; }
};

// Notes where its menu opened and closes it at once.
class CMenuList : public CQelVistaListBox {
public:
    CMenuOwner menu;
    RECT menuRect{};
    int prepared = -2;

    HMENU GetContextMenu() override
    {
        if (!menu) {
            menu.Attach(::CreatePopupMenu());
            ::AppendMenuW(menu, MF_STRING, 100, L"Open");
        }
        return menu;
    }
    void PrepareContextMenu(int item, HMENU) override { prepared = item; }
    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            ::GetWindowRect(reinterpret_cast<HWND>(lParam), &menuRect);
            ::EndMenu();
            result = 0;
            return TRUE;
        }
        return CQelVistaListBox::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
    }
};

}  // namespace

TEST(ListBoxInteractive, KeyboardMenuOpensAtTheSelectedItem)
{
    CContainer container;
    ASSERT_TRUE(container.Create(nullptr, RECT{300, 200, 520, 420}));
    CMenuList list;
    ASSERT_TRUE(list.Create(container, RECT{0, 0, 200, 180}, nullptr,
                            WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0, 7));
    for (const wchar_t* text : {L"one", L"two", L"three"})
        list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    list.SendMessage(LB_SETCURSEL, 1);
    ::SetForegroundWindow(container);
    list.SetFocus();
    ::SetCursorPos(5, 5);

    list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.GetHwnd()), -1);
    RECT item{};
    list.SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    list.ClientToScreen(item);
    EXPECT_EQ(item.left, list.menuRect.left);
    EXPECT_EQ(item.bottom, list.menuRect.top);
    EXPECT_EQ(-1, list.prepared);  // the mouse is over no item
    container.DestroyWindow();
}
