#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "PixelCapture.h"
#include "RecordingParent.h"
#include "controls/TreeCtrl.h"
#include "foundation/Settings.h"
#include "framework/ComInitialize.h"

namespace {

// Item paths are the texts from the root down, joined by backslashes.
class CPathTree : public CQelVistaTreeCtrl {
public:
    std::wstring GetItemPath(HTREEITEM item) override
    {
        std::wstring path = GetItemText(item);
        for (HTREEITEM parent = GetNextItem(item, TVGN_PARENT); parent; parent = GetNextItem(parent, TVGN_PARENT))
            path = GetItemText(parent) + L"\\" + path;
        return path;
    }
    // The same paths from the parents' paths, as saving and restoring hand them down.
    std::wstring GetChildItemPath(HTREEITEM item, const std::wstring& parentPath) override
    {
        return parentPath.empty() ? GetItemText(item) : parentPath + L"\\" + GetItemText(item);
    }
    HTREEITEM Find(const std::wstring& path)
    {
        for (HTREEITEM item = GetNextItem(nullptr, TVGN_ROOT); item; item = QelTreeNextItem(*this, item))
            if (GetItemPath(item) == path)
                return item;
        return nullptr;
    }
    bool Expanded(const std::wstring& path)
    {
        return (SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(Find(path)), TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    }
    void Expand(const std::wstring& path)
    {
        SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Find(path)));
    }
    void Select(const std::wstring& path, UINT how = TVGN_CARET)
    {
        SendMessage(TVM_SELECTITEM, how, reinterpret_cast<LPARAM>(Find(path)));
    }
    void OnDeleteItem(LPARAM data) override { deletedData += data; }
    LPARAM deletedData = 0;
    std::wstring FirstVisible() { return GetItemPath(GetNextItem(nullptr, TVGN_FIRSTVISIBLE)); }
    // Each path's parent must be there already.
    void Fill(const std::vector<std::wstring>& paths)
    {
        for (const auto& path : paths) {
            const size_t slash = path.rfind(L'\\');
            const HTREEITEM parent = slash == std::wstring::npos ? TVI_ROOT : Find(path.substr(0, slash));
            InsertItem(parent, path.substr(slash + 1).c_str(), 7);
        }
    }
};

struct CTreeHost {
    CRecordingParent container;
    CTreeHost(CQelVistaTreeCtrl& tree, int height = 200)
    {
        container.Create(nullptr, RECT{20, 20, 260, 20 + height});
        tree.Create(container, RECT{0, 0, 220, height}, nullptr, WS_CHILD | WS_VISIBLE, 0, 9);
    }
    ~CTreeHost() { container.DestroyWindow(); }
};

// TVM_GETITEMRECT takes the item in the rectangle it fills.
RECT ItemRect(HWND tree, HTREEITEM item, BOOL textOnly)
{
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    if (!::SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)))
        return RECT{};
    return rect;
}

using Values = std::vector<std::pair<std::wstring, std::wstring>>;

Values SectionValues(const wchar_t* section)
{
    CQelSettings settings(QelGetSettingsFileName().c_str(), L"Tessary");
    Values values;
    settings.GetSectionValues(section, values);
    return values;
}

using CSettingsStore = CQelTreeCtrlStateSettings<CQelVistaTreeCtrl>;

// Forty roots with a child each, in a tree of a few rows.
std::vector<std::wstring> LongList()
{
    std::vector<std::wstring> paths;
    for (int i = 0; i < 40; ++i) {
        paths.push_back(L"r" + std::to_wstring(i));
        paths.push_back(L"r" + std::to_wstring(i) + L"\\c");
    }
    return paths;
}

}  // namespace

TEST(TreeCtrl, StateIsWrittenAsFlagsPerItemPathAndTheScrollPosition)
{
    const CComInitialize com;  // the settings file is read through MSXML
    {
        CQelSettings settings(QelGetSettingsFileName().c_str(), L"Tessary");
        settings.SetInt(L"TreeState", L"_gone", 32);
    }
    CPathTree tree;
    CTreeHost host(tree);
    tree.Fill({L"abc", L"abc\\leaf", L"ghi", L"ghi\\jkl", L"lone"});
    tree.Expand(L"abc");
    tree.Select(L"ghi");
    {
        CSettingsStore store(QelGetSettingsFileName().c_str(), L"Tessary", L"TreeState", FALSE);
        tree.SaveState(store);
    }
    // Keys are the paths' digests; unselected leaves are left out; the old section is gone.
    const Values expected{{L"_cf7314cefdb3c680c0dfe3a815c3ad06", L"32"},
                          {L"_02d7820af60a9b912f65aaa0972e3eac", L"2"},
                          {L"X", L"0"},
                          {L"Y", L"0"}};
    EXPECT_EQ(expected, SectionValues(L"TreeState"));
}

TEST(TreeCtrl, StateFromSettingsExpandsSelectsAndScrollsTheItems)
{
    const CComInitialize com;  // the settings file is read through MSXML
    {
        CPathTree tree;
        CTreeHost host(tree, 100);
        tree.Fill(LongList());
        tree.Expand(L"r5");
        tree.Select(L"r7\\c");
        tree.Select(L"r20", TVGN_FIRSTVISIBLE);
        ASSERT_EQ(L"r20", tree.FirstVisible());
        CSettingsStore store(QelGetSettingsFileName().c_str(), L"Tessary", L"TreeState", FALSE);
        tree.SaveState(store);
    }
    CPathTree tree;
    CTreeHost host(tree, 100);
    tree.Fill(LongList());
    {
        CSettingsStore empty(QelGetSettingsFileName().c_str(), L"Tessary", L"NoSuchSection", TRUE);
        tree.RestoreState(empty);
    }
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    {
        CSettingsStore store(QelGetSettingsFileName().c_str(), L"Tessary", L"TreeState", TRUE);
        tree.RestoreState(store);
    }
    EXPECT_TRUE(tree.Expanded(L"r5"));
    EXPECT_TRUE(tree.Expanded(L"r7"));
    EXPECT_FALSE(tree.Expanded(L"r6"));
    EXPECT_EQ(L"r7\\c", tree.GetItemPath(tree.GetSelectedItem()));
    // Selecting scrolled r7 into view; the restored position scrolls the items back.
    EXPECT_EQ(L"r20", tree.FirstVisible());

    {
        CQelTreeCtrlStateKeeper keeper(tree);
        tree.DeleteAllItems();
        tree.Fill(LongList());
    }
    EXPECT_EQ(L"r20", tree.FirstVisible());
}

TEST(TreeCtrl, ARefillInAKeeperKeepsTheStateOfItemsThatSurvive)
{
    CPathTree tree;
    CTreeHost host(tree);
    tree.Fill({L"a", L"a\\b", L"a\\b\\c", L"d", L"d\\e"});
    tree.Expand(L"a");
    tree.Expand(L"d");
    tree.Select(L"a\\b");
    {
        CQelTreeCtrlStateKeeper keeper(tree);
        tree.DeleteAllItems();
        EXPECT_EQ(5 * 7, tree.deletedData);  // each item's data once, through the parent's reflection
        tree.Fill({L"a", L"a\\b", L"a\\b\\c", L"d2", L"d2\\e"});
    }
    EXPECT_TRUE(tree.Expanded(L"a"));
    EXPECT_FALSE(tree.Expanded(L"a\\b"));
    EXPECT_FALSE(tree.Expanded(L"d2"));
    EXPECT_EQ(L"a\\b", tree.GetItemPath(tree.GetSelectedItem()));
}

TEST(TreeCtrl, RowsAndTheSpaceBelowThemAreFullyPaintedAndRootGlyphsSitOnTheButtons)
{
    CPathTree tree;
    CTreeHost host(tree);
    tree.Fill({L"abc", L"abc\\leaf", L"second"});
    tree.Select(L"second");
    ASSERT_NE(tree.m_hWnd, ::GetFocus());
    const RECT client = tree.GetClientRect();
    CPixelCapture picture(client.right, client.bottom, RGB(0, 0, 0));
    tree.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Dc()), PRF_CLIENT);

    const RECT row = ItemRect(tree, tree.Find(L"second"), FALSE);
    ASSERT_GT(row.bottom, 0);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    // The selection box spans the whole row, not the text rectangle a pixel short of it.
    EXPECT_EQ(RGB(217, 217, 217), picture.At(client.right / 2, row.top));
    EXPECT_EQ(RGB(217, 217, 217), picture.At(client.right / 2, row.bottom - 1));
    // Rows may show the hot look where the mouse happens to be, but never black; below them the window colour.
    for (int y = 0; y < client.bottom; ++y) {
        if (y < row.bottom)
            ASSERT_NE(RGB(0, 0, 0), picture.At(client.right - 1, y)) << y;
        else
            ASSERT_EQ(window, picture.At(client.right - 1, y)) << y;
    }

    // The collapsed glyph's outline at the root row's middle, over the native button.
    const RECT text = ItemRect(tree, tree.Find(L"abc"), TRUE);
    const int middle = (text.top + text.bottom) / 2;
    int glyph = -1;
    for (int x = 0; x < text.left && glyph < 0; ++x)
        if (picture.At(x, middle) == RGB(0x87, 0x87, 0x87))
            glyph = x;
    ASSERT_GE(glyph, 0);
    TVHITTESTINFO hit{};
    hit.pt = POINT{glyph + 2, middle};
    EXPECT_EQ(tree.Find(L"abc"), reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_HITTEST, 0,
                                                                               reinterpret_cast<LPARAM>(&hit))));
    EXPECT_EQ(static_cast<UINT>(TVHT_ONITEMBUTTON), hit.flags);

    // The row the mouse enters is repainted for its hot look; Wine repaints none of its own.
    ::ValidateRect(tree, nullptr);
    tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, row.top + 3));
    RECT update{};
    ::GetUpdateRect(tree, &update, FALSE);
    EXPECT_EQ(row.top, update.top);
    EXPECT_EQ(row.bottom, update.bottom);

    // A refill deletes the hot item, whose handle may come back for another item: the
    // next move repaints the row it enters alone.
    tree.DeleteAllItems();
    tree.Fill({L"abc", L"abc\\leaf", L"second"});
    const RECT refilled = ItemRect(tree, tree.Find(L"second"), FALSE);
    ::ValidateRect(tree, nullptr);
    tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, refilled.top + 3));
    ::GetUpdateRect(tree, &update, FALSE);
    EXPECT_EQ(refilled.top, update.top);
    EXPECT_EQ(refilled.bottom, update.bottom);
}
