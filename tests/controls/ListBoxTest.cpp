#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "IconFile.h"
#include "PixelCapture.h"
#include "RecordingParent.h"
#include "controls/ListBox.h"
#include "controls/PaintingHelpers.h"

namespace {

const DWORD kListStyle = WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;

// A container of our own class, which reflects the list's drawing back to it.
struct CListHost {
    CRecordingParent container;
    explicit CListHost(CQelVistaListBoxImpl& list)
    {
        container.Create(nullptr, RECT{20, 20, 240, 220});
        list.Create(container, RECT{0, 0, 200, 180}, nullptr, kListStyle, 0, 7);
    }
    ~CListHost() { container.DestroyWindow(); }
};

void AddItem(HWND list, const wchar_t* text)
{
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

RECT ItemRect(HWND list, int item)
{
    RECT rect{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

// Pixels of the item's text that differ from the text as DrawText shows it without
// prefixes, in the list's normal font: only the pixels wholly in the text colour, which
// no background of an item shares.
int PixelsUnlikeThePlainText(const CPixelCapture& picture, const RECT& item, const wchar_t* text)
{
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    CPixelCapture expected(width, height);
    CFontOwner font;
    QelCreateUIFont(font, FALSE, 0, 0);
    const CSelectScope selectFont(expected.Dc(), font);
    const COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    ::SetTextColor(expected.Dc(), ink);
    ::SetBkMode(expected.Dc(), TRANSPARENT);
    RECT area{4, 2, width - 4, height - 2};
    ::DrawTextW(expected.Dc(), text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    int unlike = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            unlike += (picture.At(item.left + x, item.top + y) == ink) != (expected.At(x, y) == ink);
    }
    return unlike;
}

}  // namespace

TEST(ListBox, ClassesAndASelectedRowOfWholeLongTextWithoutTheFocus)
{
    CQelControlChooser chooser;
    CListHost chooserHost(chooser);
    wchar_t name[64]{};
    ::GetClassNameW(chooser, name, 64);
    EXPECT_STREQ(L"Qel_ControlChooser", name);

    CQelVistaListBox list;
    CListHost host(list);
    ::GetClassNameW(list, name, 64);
    EXPECT_STREQ(L"Qel_ListBox", name);
    EXPECT_EQ(QelMenuRowHeight(), list.SendMessage(LB_GETITEMHEIGHT, 0));

    std::wstring longLine(1500, L'x');
    longLine.back() = L'!';
    AddItem(list, longLine.c_str());
    // A text from data: its ampersands are shown, none underlines a letter.
    const wchar_t* const withAmpersands = L"Salt & Pepper && Co";
    AddItem(list, withAmpersands);
    list.SendMessage(LB_SETCURSEL, 0);
    EXPECT_EQ(longLine, list.GetItemText(0));
    EXPECT_EQ(L"", list.GetItemText(5));

    ASSERT_NE(list.m_hWnd, ::GetFocus());
    const CPixelCapture picture(list);
    EXPECT_EQ(RGB(217, 217, 217), picture.At(100, 0));
    EXPECT_EQ(RGB(250, 250, 251), picture.At(100, 1));
    EXPECT_EQ(RGB(248, 248, 248), picture.At(100, 2));
    EXPECT_EQ(0, PixelsUnlikeThePlainText(picture, ItemRect(list, 1), withAmpersands));
}

TEST(ListBox, MouseMovesRepaintTheOldAndNewHotItemsOnly)
{
    CQelVistaListBox list;
    CListHost host(list);
    for (const wchar_t* text : {L"one", L"two", L"three"})
        AddItem(list, text);
    const RECT first = ItemRect(list, 0);
    const RECT second = ItemRect(list, 1);
    const auto updated = [&list]() {
        RECT update{};
        ::GetUpdateRect(list, &update, FALSE);
        ::ValidateRect(list, nullptr);
        return update;
    };
    const auto moveTo = [&list](const RECT& item) {
        list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(item.left + 5, item.top + 3));
    };
    ::ValidateRect(list, nullptr);

    moveTo(first);
    EXPECT_TRUE(Same(first, updated()));
    moveTo(first);
    EXPECT_TRUE(Same(RECT{}, updated()));
    moveTo(second);
    RECT both{};
    ::UnionRect(&both, &first, &second);
    EXPECT_TRUE(Same(both, updated()));
    list.SendMessage(WM_MOUSELEAVE);
    EXPECT_TRUE(Same(second, updated()));
}

TEST(ListBox, ItemIconsAreLoadedOncePerPathWhateverItsCase)
{
    const std::wstring path = WriteTestIconFile(RGB(200, 0, 0));
    ASSERT_FALSE(path.empty());
    std::wstring upper = path;
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));

    CQelVistaListBox list;
    CListHost host(list);
    AddItem(list, L"iconic");
    AddItem(list, L"same icon");
    AddItem(list, L"no icon");
    const int image = list.SetItemIcon(0, path.c_str());
    EXPECT_EQ(0, image);
    EXPECT_EQ(image, list.SetItemIcon(1, upper.c_str()));
    EXPECT_EQ(-1, list.SetItemIcon(2, L"C:\\no such folder\\none.ico"));
    EXPECT_EQ(-1, list.GetItemImage(2));

    const CPixelCapture picture(list);
    for (const int item : {0, 1}) {
        const RECT rect = ItemRect(list, item);
        EXPECT_EQ(RGB(200, 0, 0), picture.At(rect.left + 4 + 8, (rect.top + rect.bottom) / 2)) << item;
    }
    const RECT plain = ItemRect(list, 2);
    EXPECT_EQ(RGB(255, 255, 255), picture.At(plain.left + 4 + 8, (plain.top + plain.bottom) / 2));
    ::DeleteFileW(path.c_str());
}
