#include <gtest/gtest.h>

#include <string>

#include "PaneFixture.h"
#include "app/frame/DocumentPane.h"
#include "foundation/Settings.h"
#include "resources/ResourceIds.h"

namespace {

class DocumentPaneTest : public PaneFixture {
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        AddDocument(kBook, L"/f/", L"apple pie", 10);
        AddDocument(kBook, L"/f/", L"banana", 20);
        AddDocument(kBook, L"/f/sub/", L"apple tart", 30);
        AddDocument(kBook, L"/g/", L"apple jam", 40);
    }

    void CreatePane()
    {
        ASSERT_TRUE(pane.Create(host));
        pane.MoveWindow(RECT{0, 0, 400, 600});
        pane.GetSearchArea().SetTickSource([this] { return ticks; });
        pane.ShowLocation(kBook, L"/f/");
    }

    // The user's typing, as the box reports it.
    void Type(const wchar_t* text, DWORD at)
    {
        ticks = at;
        CDocumentAdvancedPane& area = pane.GetSearchArea();
        area.GetSearchBox().SetWindowText(text);
        area.SendMessage(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(area.GetSearchBox().m_hWnd));
    }
    void Tick(DWORD at)
    {
        ticks = at;
        pane.GetSearchArea().SendMessage(WM_TIMER, CDocumentAdvancedPane::kSearchTimer);
    }

    size_t Searches() const { return pane.GetSearchHistory().size(); }
    int Rows() { return static_cast<int>(pane.GetList().SendMessage(LVM_GETITEMCOUNT)); }
    LONG AreaHeight()
    {
        const RECT area = pane.GetSearchArea().GetRectInParent();
        return area.bottom - area.top;
    }
    BOOL OptionsShown() { return pane.GetSearchArea().GetOptionsButton().IsWindowVisible(); }

    DWORD ticks = 0;
    CDocumentPane pane{&database};
};

TEST_F(DocumentPaneTest, SearchesOnceTheTextHasRestedForMoreThanASecond)
{
    CreatePane();
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(75, AreaHeight());
    Type(L"a", 1000);
    Type(L"ap", 1500);
    Type(L"apple", 1800);
    EXPECT_EQ(110, AreaHeight());
    EXPECT_TRUE(OptionsShown());
    Tick(2800);
    EXPECT_EQ(0u, Searches());
    Tick(2801);
    ASSERT_EQ(1u, Searches());
    EXPECT_EQ(L"apple", pane.GetSearchHistory()[0].text);
    EXPECT_EQ(1, Rows());  // the folder's own documents only
    Tick(9000);
    EXPECT_EQ(1u, Searches());

    // An emptied box, or one of blanks only, shows the folder again.
    Type(L"", 10000);
    EXPECT_EQ(75, AreaHeight());
    EXPECT_FALSE(OptionsShown());
    Tick(11001);
    EXPECT_EQ(2, Rows());
    Type(L"   ", 12000);
    EXPECT_EQ(75, AreaHeight());
    Tick(13001);
    EXPECT_EQ(1u, Searches());
    EXPECT_EQ(2, Rows());

    // An empty quick view searches everywhere; emptying the box empties the list again.
    pane.ShowDocuments({}, L"");
    Type(L"apple", 20000);
    Tick(21001);
    EXPECT_EQ(3, Rows());
    Type(L"", 22000);
    Tick(23001);
    EXPECT_EQ(0, Rows());
}

TEST_F(DocumentPaneTest, ScopesWidenTheSearchAndTheHistoryShowsPastResults)
{
    CreatePane();
    const CMenuOwner empty = pane.BuildHistoryMenu();
    ASSERT_EQ(1, ::GetMenuItemCount(empty));
    EXPECT_TRUE(::GetMenuState(empty, 0, MF_BYPOSITION) & MF_GRAYED);

    Type(L"apple", 1000);
    pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);  // Enter
    EXPECT_EQ(1u, Searches());
    Tick(5000);
    EXPECT_EQ(1u, Searches());

    pane.SendMessage(WM_COMMAND, ID_SEARCH_SUB_FOLDERS);
    EXPECT_EQ(2, Rows());
    pane.SendMessage(WM_COMMAND, ID_SEARCH_SUB_FOLDERS);
    EXPECT_EQ(2u, Searches());
    pane.SendMessage(WM_COMMAND, ID_SEARCH_ALL_DOCUMENTS);
    EXPECT_EQ(3, Rows());
    EXPECT_EQ(3, ::GetMenuItemCount(pane.BuildHistoryMenu()));

    pane.SendMessage(WM_COMMAND, CDocumentPane::kFirstHistoryCommand);
    EXPECT_EQ(1, Rows());
    EXPECT_EQ(L"apple", pane.GetSearchArea().GetSearchText());

    pane.ShowLocation(kBook, L"/g/");
    EXPECT_EQ(L"", pane.GetSearchArea().GetSearchText());
    EXPECT_EQ(75, AreaHeight());
    EXPECT_EQ(1, Rows());

    // The history keeps the 50 searches its menu shows, the newest last.
    for (int search = 0; search < 50; ++search) {
        Type(std::to_wstring(search).c_str(), 6000);
        pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);
    }
    EXPECT_EQ(50u, Searches());
    const CMenuOwner full = pane.BuildHistoryMenu();
    ASSERT_EQ(50, ::GetMenuItemCount(full));
    wchar_t last[8]{};
    ::GetMenuStringW(full, 49, last, 8, MF_BYPOSITION);
    EXPECT_STREQ(L"49", last);

    // The rows of the whole history stay within a budget, the oldest search giving up its
    // rows first; it keeps its text, scope and folder, and is run again when picked.
    pane.ShowLocation(kBook, L"/f/");
    pane.SendMessage(WM_COMMAND, ID_SEARCH_CURRENT_FOLDER);
    Type(L"apple", 7000);
    pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);
    pane.ShowLocation(kBook, L"/g/");
    pane.SendMessage(WM_COMMAND, ID_SEARCH_ALL_DOCUMENTS);
    Type(L"apple", 8000);
    pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);
    const size_t threeRows = CSearchHistory::ResultsBytes(pane.GetSearchHistory().back().results);
    EXPECT_GT(threeRows, 3 * sizeof(TESSARYDOCUMENTDATA));
    pane.SetSearchHistoryBudget(2 * threeRows);
    Type(L"apple", 9000);
    pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);
    ASSERT_EQ(50u, Searches());
    size_t kept = 0;
    for (const SearchHistoryEntry& entry : pane.GetSearchHistory())
        kept += CSearchHistory::ResultsBytes(entry.results);
    EXPECT_EQ(2 * threeRows, kept);
    AddDocument(kBook, L"/f/", L"apple crumble", 50);
    pane.SendMessage(WM_COMMAND, CDocumentPane::kFirstHistoryCommand + 49);
    EXPECT_EQ(3, Rows());  // kept: shown as found
    pane.SendMessage(WM_COMMAND, CDocumentPane::kFirstHistoryCommand + 47);
    EXPECT_EQ(2, Rows());  // run again in its own folder, without its subfolders
    EXPECT_EQ(L"apple", pane.GetSearchArea().GetSearchText());
    EXPECT_EQ(50u, Searches());
    // A search whose rows alone exceed the budget keeps none, and the others keep theirs.
    for (const wchar_t* title : {L"apple cake", L"apple juice", L"apple sauce", L"apple tea"})
        AddDocument(kBook, L"/h/", title, 60);
    pane.GetSearchArea().SendMessage(WM_QEL_SEARCH);
    EXPECT_EQ(8, Rows());
    EXPECT_EQ(0u, CSearchHistory::ResultsBytes(pane.GetSearchHistory()[49].results));
    EXPECT_EQ(threeRows, CSearchHistory::ResultsBytes(pane.GetSearchHistory()[48].results));
    EXPECT_EQ(threeRows, CSearchHistory::ResultsBytes(pane.GetSearchHistory()[47].results));
}

TEST_F(DocumentPaneTest, SortStateIsReadFromTheSettingsAndNeverWritten)
{
    {
        CTessarySettings settings;
        settings.SetInt(L"DocumentListCtrlState", L"SortBy", 2);
        settings.SetInt(L"DocumentListCtrlState", L"SortOrder", 0);
        settings.SetInt(L"DocumentListCtrlState", L"SearchIn", 2);
    }
    CreatePane();
    pane.RestoreState(L"DocumentListCtrlState");
    CDocumentAdvancedPane& area = pane.GetSearchArea();
    EXPECT_EQ(CDocumentPane::AllDocuments, pane.GetSearchScope());
    EXPECT_EQ(L"Sort by Title", area.GetSortButton().GetWindowText());
    EXPECT_EQ(L"Ascending", area.GetOrderButton().GetWindowText());

    pane.SendMessage(WM_COMMAND, ID_SORT_DATE_MODIFIED);
    EXPECT_EQ(CTessaryDocumentListCtrl::SortByModified, pane.GetList().GetSortBy());
    EXPECT_EQ(L"Sort by Date Modified", area.GetSortButton().GetWindowText());
    area.SendMessage(WM_COMMAND, MAKEWPARAM(CDocumentAdvancedPane::kOrderButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(area.GetOrderButton().m_hWnd));
    EXPECT_EQ(L"Descending", area.GetOrderButton().GetWindowText());
    EXPECT_EQ(1, pane.GetList().GetSortOrder());

    pane.DestroyWindow();
    CTessarySettings settings;
    EXPECT_EQ(2, settings.GetInt(L"DocumentListCtrlState", L"SortBy", -1));
    EXPECT_EQ(0, settings.GetInt(L"DocumentListCtrlState", L"SortOrder", -1));
}

}  // namespace
