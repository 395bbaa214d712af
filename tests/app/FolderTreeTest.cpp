#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PaneFixture.h"
#include "app/frame/FolderTreeCtrl.h"
#include "foundation/Settings.h"
#include "resources/ResourceIds.h"

namespace {

class FolderTreeTest : public PaneFixture, public ITessaryFolderTreeCtrlEvents {
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        ASSERT_TRUE(database.SetSubscriptionName(kBook, L"zeta"));
        ASSERT_TRUE(database.SetSubscriptionName(kOtherBook, L"Alpha"));
        AddDocument(kBook, L"/", L"r1", 1000);
        AddDocument(kBook, L"/", L"r2", 1000);
        for (const wchar_t* title : {L"a1", L"a2", L"a3"})
            AddDocument(kOtherBook, L"/a/", title, 1000);
        AddDocument(kOtherBook, L"/a/b/", L"b1", 1000);
        AddDocument(kOtherBook, L"/a/b/", L"b2", 1000);
        AddDocument(kOtherBook, L"/c/d/", L"d1", 1000);
    }

    void OnFolderSelected(CTessaryFolderTreeCtrl&) override { ++selections; }

    // Each item's text, indented by two blanks a level, in tree order.
    std::vector<std::wstring> Items(CFolderTreeCtrl& tree, HTREEITEM parent = TVI_ROOT, int depth = 0)
    {
        std::vector<std::wstring> items;
        for (HTREEITEM item = tree.GetNextItem(parent == TVI_ROOT ? nullptr : parent,
                                               parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD);
             item; item = tree.GetNextItem(item, TVGN_NEXT)) {
            items.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + tree.GetItemText(item));
            for (const std::wstring& child : Items(tree, item, depth + 1))
                items.push_back(child);
        }
        return items;
    }

    HTREEITEM Find(CFolderTreeCtrl& tree, const std::wstring& text)
    {
        for (HTREEITEM item = tree.GetNextItem(nullptr, TVGN_ROOT); item; item = QelTreeNextItem(tree, item)) {
            if (tree.GetItemText(item) == text)
                return item;
        }
        return nullptr;
    }

    BOOL IsExpanded(CFolderTreeCtrl& tree, HTREEITEM item)
    {
        return (tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }

    int selections = 0;
};

TEST_F(FolderTreeTest, QuickViewsAndBooksByNameWithFoldersSplitAndCounted)
{
    CFolderTreeCtrl tree(&database);
    ASSERT_TRUE(tree.Create(host, RECT{0, 0, 300, 500}));
    // A folder's own documents come before its sub-folders', so it shows their count.
    EXPECT_EQ((std::vector<std::wstring>{L"Quick Views", L"Alpha", L"  a (3)", L"    b (2)", L"  c", L"    d (1)",
                                         L"zeta (2)"}),
              Items(tree));

    std::wstring guid;
    std::wstring location;
    ASSERT_TRUE(tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Find(tree, L"b (2)"))));
    ASSERT_TRUE(tree.GetSelection(guid, location));
    EXPECT_EQ(kOtherBook, guid);
    EXPECT_EQ(L"/a/b/", location);
    EXPECT_EQ(std::wstring(kOtherBook) + L"\\/a/b/", tree.GetItemPath(Find(tree, L"b (2)")));

    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Find(tree, L"zeta (2)")));
    EXPECT_EQ(L"/", tree.GetSelectedLocation());
    EXPECT_EQ(kBook, tree.GetSelectedSubscriptionGuid());

    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Find(tree, L"Quick Views")));
    EXPECT_FALSE(tree.GetSelection(guid, location));
    EXPECT_EQ(L"", tree.GetSelectedSubscriptionGuid());
    std::vector<TESSARYDOCUMENTDATA> recent;
    EXPECT_TRUE(tree.GetSelectedDocuments(recent));
    EXPECT_EQ(8u, recent.size());
}

TEST_F(FolderTreeTest, ExpansionAndSelectionSurviveARefreshAndARestart)
{
    {
        CFolderTreeCtrl tree(&database);
        ASSERT_TRUE(tree.Create(host, RECT{0, 0, 300, 500}));
        tree.SetStateKey(L"FolderTreeCtrlState");
        tree.SetEvents(this);
        tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Find(tree, L"Alpha")));
        tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Find(tree, L"a (3)")));
        tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Find(tree, L"b (2)")));
        selections = 0;

        AddDocument(kOtherBook, L"/a/b/", L"b3", 2000);
        AddDocument(kOtherBook, L"/a/e/", L"e1", 2000);
        tree.SendMessage(WM_COMMAND, ID_REFRESH);
        EXPECT_EQ(L"/a/b/", tree.GetSelectedLocation());
        EXPECT_EQ(L"b (3)", tree.GetItemText(tree.GetSelectedItem()));
        EXPECT_TRUE(IsExpanded(tree, Find(tree, L"a (3)")));
        EXPECT_FALSE(IsExpanded(tree, Find(tree, L"c")));
        EXPECT_GT(selections, 0);  // the list follows the restored selection
        tree.DestroyWindow();
    }
    CFolderTreeCtrl tree(&database);
    ASSERT_TRUE(tree.Create(host, RECT{0, 0, 300, 500}));
    tree.SetStateKey(L"FolderTreeCtrlState");
    EXPECT_EQ(L"/a/b/", tree.GetSelectedLocation());
    EXPECT_TRUE(IsExpanded(tree, Find(tree, L"Alpha")));
    EXPECT_TRUE(IsExpanded(tree, Find(tree, L"a (3)")));
}

TEST_F(FolderTreeTest, ALocationAThousandLevelsDeepEndsInAThirtySecondLevelItemThatListsItsDocument)
{
    std::wstring location = L"/";
    for (int level = 1; level <= 1000; ++level)
        location += L"f" + std::to_wstring(level) + L"/";
    AddDocument(kBook, location.c_str(), L"deep", 1000);
    CFolderTreeCtrl tree(&database);
    ASSERT_TRUE(tree.Create(host, RECT{0, 0, 300, 500}));

    HTREEITEM item = Find(tree, L"zeta (2)");
    int levels = 0;
    for (HTREEITEM child; (child = tree.GetNextItem(item, TVGN_CHILD)) != nullptr; item = child)
        ++levels;
    ASSERT_EQ(32, levels);
    const size_t deeper = location.find(L"/f32/") + 1;
    EXPECT_EQ(location.substr(deeper, location.size() - deeper - 1) + L" (1)", tree.GetItemText(item));

    tree.SetStateKey(L"FolderTreeCtrlState");
    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ASSERT_EQ(location, tree.GetSelectedLocation());  // which lists its document

    // Saved under the key of its whole path, as every selection always was.
    tree.DestroyWindow();
    CQelSettings settings(QelGetSettingsFileName().c_str(), L"Tessary");
    std::vector<std::pair<std::wstring, std::wstring>> values;
    settings.GetSectionValues(L"FolderTreeCtrlState", values);
    const std::pair<std::wstring, std::wstring> selected{QelTreeStateValueName(kBook + (L"\\" + location)), L"2"};
    EXPECT_THAT(values, ::testing::Contains(selected));
}

}  // namespace
