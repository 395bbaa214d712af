#include <gtest/gtest.h>

#include <windows.h>

#include "CommandedParent.h"
#include "PrintedClient.h"
#include "framework/GdiOwners.h"
#include "framework/Hyperlink.h"

namespace {

constexpr int kLinkId = 5000;

// Whether the link paints some of its pixels in that colour.
bool Shows(HWND link, COLORREF color)
{
    const CPrintedClient printed(link);
    const RECT client = CWindowRef(link).GetClientRect();
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (printed.Pixel(x, y) == color)
                return true;
    return false;
}

// Unvisited links show the link colour and not yet the visited one.
void ExpectUnvisited(const CHyperlink& link)
{
    EXPECT_TRUE(Shows(link, link.GetLinkColor()));
    EXPECT_FALSE(Shows(link, link.GetVisitedColor()));
}

}  // namespace

TEST(Hyperlink, CommandButtonModeTellsTheParentInsteadOfOpeningAndKeepsTheStaticsFont)
{
    CCommandedParent parent;
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 300, 120}, L"parent"));
    const HWND label = ::CreateWindowExW(0, L"STATIC", L"Details", WS_CHILD | WS_VISIBLE, 10, 10, 200, 40, parent,
                                         reinterpret_cast<HMENU>(kLinkId), nullptr, nullptr);
    CFontOwner large(::CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(large.Get()), FALSE);

    CHyperlink link;
    ASSERT_TRUE(link.SubclassWindow(label));
    link.SetLinkStyle(HLINK_COMMANDBUTTON);
    link.SetTarget(L"https://example.org/");

    // A plain static lets the mouse through to its parent; the link must not.
    EXPECT_EQ(HTCLIENT, link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(15, 15)));
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(MAKEWPARAM(kLinkId, BN_CLICKED), parent.command);
    EXPECT_EQ(reinterpret_cast<LPARAM>(label), parent.from);
    ExpectUnvisited(link);

    // The ideal size is the label's in the font the static was given.
    SIZE ideal{};
    ASSERT_TRUE(link.GetIdealSize(ideal));
    const CWindowDc dc(label);
    const CSelectScope font(dc, large);
    SIZE text{};
    ::GetTextExtentPoint32W(dc, L"Details", 7, &text);
    EXPECT_EQ(text.cx, ideal.cx);
    EXPECT_EQ(text.cy, ideal.cy);
    parent.DestroyWindow();
}

TEST(Hyperlink, OpensOnlyWebAndMailAddresses)
{
    EXPECT_TRUE(IsOpenableLinkTarget(L"HTTPS://example.org/page?x=1"));
    EXPECT_TRUE(IsOpenableLinkTarget(L"mailto:someone@example.org"));
    EXPECT_FALSE(IsOpenableLinkTarget(L"\\\\server\\share\\setup.exe"));
    EXPECT_FALSE(IsOpenableLinkTarget(L"file:///C:/Windows/notepad.exe"));
    EXPECT_FALSE(IsOpenableLinkTarget(L"http:notepad"));

    // The label stands for a missing target; a refused one is not opened nor marked visited.
    CHyperlink link;
    ASSERT_TRUE(link.Create(nullptr, RECT{0, 0, 100, 20}, L"C:\\Windows\\notepad.exe", WS_POPUP));
    link.SetFont(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
    EXPECT_FALSE(link.Activate());
    ExpectUnvisited(link);
    link.DestroyWindow();
}
