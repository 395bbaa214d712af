#include <gtest/gtest.h>

#include <windows.h>

#include "ContextMenuProbe.h"
#include "RecordingParent.h"
#include "controls/ListBox.h"

namespace {

class CMenuList : public CContextMenuProbe<CQelVistaListBox> {
public:
    int prepared = -2;

protected:
    void PrepareContextMenu(int item, HMENU) override { prepared = item; }
};

}  // namespace

TEST(ListBoxInteractive, KeyboardMenuOpensAtTheSelectedItem)
{
    CRecordingParent container(0);
    ASSERT_TRUE(container.Create(nullptr, RECT{300, 200, 520, 420}));
    CMenuList list;
    ASSERT_TRUE(list.Create(container, RECT{0, 0, 200, 180}, nullptr,
                            WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0, 7));
    for (const wchar_t* text : {L"one", L"two", L"three"})
        list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    list.SendMessage(LB_SETCURSEL, 1);
    ::SetForegroundWindow(container);
    ::SetFocus(list);
    ::SetCursorPos(5, 5);

    list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), -1);
    RECT item{};
    list.SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(item.left, list.menuRect.left);
    EXPECT_EQ(item.bottom, list.menuRect.top);
    EXPECT_EQ(-1, list.prepared);  // the mouse is over no item
    container.DestroyWindow();
}
